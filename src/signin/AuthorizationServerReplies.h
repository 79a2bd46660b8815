#pragma once

#include "signin/AuthorizationEndpoints.h"

#include <QDateTime>
#include <QJsonObject>
#include <variant>

namespace brindle {

// The authorization server's answer: its HTTP status and JSON body.
struct JsonReply {
    int status = 0;
    QJsonObject body;
};

// Whether an endpoint may be asked at all: https, or http on this machine's
// loopback.
bool isAllowedEndpoint(const QUrl& address);

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
