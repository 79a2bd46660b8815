#pragma once

#include "signin/AuthorizationEndpoints.h"

#include <QByteArray>
#include <QDateTime>
#include <optional>

namespace brindle {

// What the keyring keeps for one signed-in account: its tokens and what a
// refresh needs. Stored as one JSON secret.
struct SignedInAccount {
    QString refreshToken;
    QString accessToken;
    QDateTime accessExpiry; // invalid in what older versions stored without a lifetime
    QUrl tokenEndpoint;
    OAuthClient client;
    QUrl revocationEndpoint = {}; // empty: the provider takes no token back

    QByteArray toSecret() const;
    // Nullopt for a secret that is not one of these.
    static std::optional<SignedInAccount> fromSecret(const QByteArray& secret);
    // The keyring key of an account: its mail server and ID.
    static QString keyFor(const QString& server, const QString& id);
};

} // namespace brindle
