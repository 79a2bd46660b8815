#pragma once

#include "settings/core/ProfileFile.h"

#include <QString>
#include <optional>

namespace brindle {

// What the account file says of an account that signs in without a password
// of its own: through OAuth 2.0 (its tokens live in the desktop keyring, never
// in the file) or through a desktop account.
namespace AccountSignIn {

inline const QString OAuth2 = QStringLiteral("OAUTH2");
inline const QString DesktopAccount = QStringLiteral("GOA");

// The server field the account signed in for; nullopt for a password
// account. Files written before the server was kept name none: they signed
// in for the current one.
std::optional<QString> signedInServer(const ProfileFile& account, const QString& currentServer);

// The desktop account that signs in to currentServer; nullopt for other
// accounts, and for a desktop account chosen for another server field.
std::optional<QString> desktopAccount(const ProfileFile& account, const QString& currentServer);

} // namespace AccountSignIn
} // namespace brindle
