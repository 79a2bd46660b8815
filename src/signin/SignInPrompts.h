#pragma once

#include "signin/AuthorizationEndpoints.h"

#include <optional>

namespace brindle {

// What a sign-in asks the user.
class SignInPrompts {
public:
    virtual ~SignInPrompts() = default;
    // Whether to sign in at an authorization server that the mail server
    // named, not one of the built-in providers.
    virtual bool trustAuthorizationServer(const QString& authorizationHost,
                                          const QString& mailHost) = 0;
    // The client ID (and secret) the user registered at the authorization
    // server; nullopt when the user stops. Shows previous.
    virtual std::optional<OAuthClient> askClientId(const QString& authorizationServer,
                                                   const QString& mailHost,
                                                   const OAuthClient& previous) = 0;
};

} // namespace brindle
