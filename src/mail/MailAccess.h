#pragma once

#include "mail/MailSession.h"

#include <QString>
#include <variant>

namespace brindle {

class AccessTokens;
class DesktopAccounts;

// What one login sends: a password, or an OAuth 2.0 access token.
struct LoginSecret {
    QString text;
    MailSession::Authentication authentication = MailSession::Authentication::UserPass;
};

// What a check logged in with: enough to open another session to the same
// mailbox. Held in memory only.
struct MailAccess {
    QString server;
    QString id;
    QString password;
    // For an account that signs in with OAuth 2.0 (password then empty): where
    // each new connection gets a fresh access token.
    AccessTokens* tokens = nullptr;
    // For an account the desktop holds (password then empty): asked for the
    // secret of each new connection.
    DesktopAccounts* desktop = nullptr;
    QString desktopAccount = {};

    bool operator==(const MailAccess&) const = default;

    // The secret of one new login, fetched afresh where it is not a password;
    // or why there is none, in words for the user.
    std::variant<LoginSecret, MailError> loginSecret() const;
};

} // namespace brindle
