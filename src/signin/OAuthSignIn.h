#pragma once

#include "settings/BrowserSignIn.h"
#include "signin/AuthorizationEndpoints.h"
#include "signin/AuthorizationServerReplies.h"
#include "signin/PackagedClients.h"

#include <optional>
#include <variant>

namespace brindle {

class BoundedNetworkAccess;
class MailClient;
class SecretStore;
class SignInPrompts;
class UrlOpener;
struct MailServerAddress;

// Signs an account in: finds its authorization server (the built-in table of
// providers, else the server's discovery document, which the user agrees to
// first), gets a client ID (registered by the server itself, or entered by
// the user), lets the user consent in the browser and keeps the tokens in the
// keyring.
class OAuthSignIn : public BrowserSignIn {
public:
    OAuthSignIn(MailClient& mailClient, UrlOpener& browser, SecretStore& secrets,
                SignInPrompts& prompts, PackagedClients packaged = builtInPackagedClients());

    Result signIn(const QString& server, const QString& id) override;
    QString signOut(const QString& server, const QString& id) override;

private:
    std::variant<AuthorizationEndpoints, QString> findServer(const QString& server,
                                                             const QString& id,
                                                             const MailServerAddress& address,
                                                             BoundedNetworkAccess& network);
    QUrl discoveryDocument(const QString& server, const QString& id, const QString& host);
    std::variant<OAuthClient, QString> clientFor(const AuthorizationEndpoints& server,
                                                 const QString& mailHost, const QString& redirect,
                                                 BoundedNetworkAccess& network);

    MailClient& mailClient_;
    UrlOpener& browser_;
    SecretStore& secrets_;
    SignInPrompts& prompts_;
    PackagedClients packaged_;
    // A client the user entered for a built-in provider in this sign-in, kept
    // once it succeeds.
    std::optional<OAuthClient> enteredClient_;
};

} // namespace brindle
