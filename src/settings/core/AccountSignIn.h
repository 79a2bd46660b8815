#pragma once

#include "settings/core/ProfileFile.h"

#include <QString>
#include <optional>

namespace brindle {

// What the account file says of an account that signs in through OAuth 2.0
// (its tokens live in the desktop keyring, never in the file).
namespace AccountSignIn {

inline const QString OAuth2 = QStringLiteral("OAUTH2");

// The server field the account signed in for; nullopt for a password
// account. Files written before the server was kept name none: they signed
// in for the current one.
std::optional<QString> signedInServer(const ProfileFile& account, const QString& currentServer);

} // namespace AccountSignIn
} // namespace brindle
