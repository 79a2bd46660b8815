#pragma once

#include <QString>
#include <QUrl>
#include <QUrlQuery>

namespace brindle {

// Where an account signs in and what it asks for.
struct AuthorizationEndpoints {
    QUrl authorizationEndpoint;
    QUrl tokenEndpoint;
    // Empty unless the server registers clients itself (RFC 7591).
    QUrl registrationEndpoint;
    QString scope;
    // Further parameters of the authorization request the provider needs.
    QUrlQuery authorizationExtras;
    // The provider's name for the user, when the server is a known one.
    QString providerName;
};

// The program's identity at an authorization server.
struct OAuthClient {
    QString id;
    QString secret; // empty for a public client
};

} // namespace brindle
