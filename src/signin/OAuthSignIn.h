#pragma once

#include "settings/BrowserSignIn.h"
#include "signin/AuthorizationEndpoints.h"
#include "signin/BoundedNetworkAccess.h"

#include <variant>

namespace brindle {

class ClientIdPrompt;
class MailClient;
class SecretStore;
class UrlOpener;

// Signs an account in: finds its authorization server (the built-in table of
// providers, else the server's discovery document), gets a client ID
// (registered by the server itself, or entered once by the user), lets the
// user consent in the browser and keeps the tokens in the keyring.
class OAuthSignIn : public BrowserSignIn {
public:
    OAuthSignIn(MailClient& mailClient, UrlOpener& browser, SecretStore& secrets,
                ClientIdPrompt& clientIdPrompt);

    Result signIn(const QString& server, const QString& id) override;
    void signOut(const QString& server, const QString& id) override;

private:
    std::variant<AuthorizationEndpoints, QString> findServer(const QString& server,
                                                             const QString& id);
    QUrl discoveryDocument(const QString& server, const QString& id, const QString& host);
    std::variant<OAuthClient, QString> clientFor(const AuthorizationEndpoints& server,
                                                 const QString& redirect);

    MailClient& mailClient_;
    UrlOpener& browser_;
    SecretStore& secrets_;
    ClientIdPrompt& clientIdPrompt_;
    BoundedNetworkAccess network_;
    // A client the user entered in this sign-in, kept once it succeeds.
    std::optional<OAuthClient> enteredClient_;
};

} // namespace brindle
