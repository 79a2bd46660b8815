#pragma once

#include "signin/AuthorizationEndpoints.h"
#include "signin/BoundedNetworkAccess.h"

#include <QDateTime>
#include <variant>

namespace brindle {

// Tokens a token endpoint gave (RFC 6749 section 5.1).
struct TokenGrant {
    QString accessToken;
    QString refreshToken; // empty when the server gave none
    QDateTime expiry;     // invalid when the server named no lifetime
};

// The token endpoint refused the grant (RFC 6749 section 5.2).
struct TokenRefusal {
    QString error;
};

// Reads a token endpoint's answer; a text says why it could not be read.
std::variant<TokenGrant, TokenRefusal, QString> readTokenReply(const JsonReply& reply,
                                                               const QDateTime& now);

// Reads a discovery document (RFC 8414, OpenID Connect Discovery); a text
// says why it cannot be used. The endpoints must be usable addresses.
std::variant<AuthorizationEndpoints, QString> readDiscoveryDocument(const JsonReply& reply);

// Reads a dynamic registration's answer (RFC 7591 section 3.2.1).
std::variant<OAuthClient, QString> readRegistrationReply(const JsonReply& reply);

} // namespace brindle
