#pragma once

#include "signin/AuthorizationEndpoints.h"

#include <QDateTime>
#include <QHostAddress>
#include <QJsonObject>
#include <QUrlQuery>
#include <optional>
#include <variant>

namespace brindle {

// The authorization server's answer: its HTTP status and JSON body.
struct JsonReply {
    int status = 0;
    QJsonObject body;
};

// Where requests to authorization servers may go. A mail server on this
// machine (a test, a local set-up) may name one on this machine or the local
// network, over plain http too; any other mail server only https to a public
// address, so that it cannot make the program reach into the user's machine
// or network.
enum class AddressReach { PublicOnly, LocalToo };

// RFC 6750 section 2.1: what a bearer token may hold, and so what may be sent
// inside a login or a header.
bool isBearerToken(const QString& token);

// The reach a mail server's host name earns: LocalToo only for loopback.
AddressReach reachFor(const QString& mailHost);
// Not loopback, private (RFC 1918, unique-local), link-local or otherwise
// reserved for a single network.
bool isPublicAddress(const QHostAddress& address);
// Whether an endpoint may be asked at all, as far as its address shows
// before its host is looked up.
bool isAllowedEndpoint(const QUrl& address, AddressReach reach);

// Tokens a token endpoint gave (RFC 6749 section 5.1).
struct TokenGrant {
    QString accessToken;
    QString refreshToken; // empty when the server gave none
    QDateTime expiry;
};

// The token endpoint refused the grant (RFC 6749 section 5.2).
struct TokenRefusal {
    QString error;
};

// An access token lives this long when the server names no lifetime.
inline constexpr qint64 UnnamedLifetimeSeconds = 3600;

// Reads a token endpoint's answer; a text says why it could not be read.
// Tokens that are not RFC 6750 b64token are refused as a whole.
std::variant<TokenGrant, TokenRefusal, QString> readTokenReply(const JsonReply& reply,
                                                               const QDateTime& now);

// Reads a discovery document (RFC 8414, OpenID Connect Discovery) read from
// documentAddress; a text says why it cannot be used. The server must name
// itself as that address less its well-known part, keep its token and
// registration endpoints on its own host, ask for PKCE S256 where it lists
// methods, and not send the browser to a provider of the built-in table.
std::variant<AuthorizationEndpoints, QString>
readDiscoveryDocument(const JsonReply& reply, const QUrl& documentAddress, AddressReach reach);

// The query of the browser's request that brings the authorization server's
// answer to the loopback listener, read from the request's first line
// ("GET /?code=... HTTP/1.1"); nullopt for any other request.
std::optional<QUrlQuery> redirectQuery(QByteArrayView requestHead);

// Reads a dynamic registration's answer (RFC 7591 section 3.2.1).
std::variant<OAuthClient, QString> readRegistrationReply(const JsonReply& reply);

} // namespace brindle
