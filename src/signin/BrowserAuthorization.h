#pragma once

#include "signin/AuthorizationEndpoints.h"
#include "signin/AuthorizationServerReplies.h"

#include <functional>
#include <variant>

namespace brindle {

class UrlOpener;

// The authorization-code grant with PKCE (S256) through the user's browser,
// answered on a loopback address of this machine (RFC 8252). Only an answer
// that carries this sign-in's state counts; any other is shown a page and
// ignored. BrowserLimitMs at most in all.
class BrowserAuthorization {
public:
    static constexpr int BrowserLimitMs = 5 * 60'000;
    // The client to sign in as, given the redirect address; a text says why
    // there is none, an empty text that the user stopped.
    using ClientFor = std::function<std::variant<OAuthClient, QString>(const QString& redirect)>;

    BrowserAuthorization(UrlOpener& browser, AddressReach reach);

    // The tokens, or why there are none, for the user (empty when the user
    // stopped).
    std::variant<TokenGrant, QString> run(const AuthorizationEndpoints& server,
                                          const ClientFor& clientFor);

private:
    UrlOpener& browser_;
    AddressReach reach_;
};

} // namespace brindle
