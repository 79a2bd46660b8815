#pragma once

#include <QString>
#include <QUrl>
#include <QUrlQuery>

namespace brindle {

// The program's identity at an authorization server.
struct OAuthClient {
    QString id;
    QString secret; // empty for a public client
};

// Where an account signs in and what it asks for.
struct AuthorizationEndpoints {
    QUrl authorizationEndpoint;
    QUrl tokenEndpoint;
    // Empty unless the server registers clients itself (RFC 7591).
    QUrl registrationEndpoint;
    // Empty unless the server takes back tokens (RFC 7009).
    QUrl revocationEndpoint;
    QString scope;
    // Further parameters of the authorization request the provider needs.
    QUrlQuery authorizationExtras;
    // The provider's name for the user, when the server is a known one.
    QString providerName;
    // The server's own name for itself (RFC 8414); empty where unknown.
    QString issuer;
    // The server names itself in every answer to the browser (RFC 9207).
    bool namesItselfInAnswers = false;
    // The client built into the program for a built-in provider; empty:
    // the user's own.
    OAuthClient packagedClient;
};

} // namespace brindle
