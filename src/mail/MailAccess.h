#pragma once

#include <QString>

namespace brindle {

class AccessTokens;

// What a check logged in with: enough to open another session to the same
// mailbox. Held in memory only.
struct MailAccess {
    QString server;
    QString id;
    QString password;
    // For an account that signs in with OAuth 2.0 (password then empty): where
    // each new connection gets a fresh access token.
    AccessTokens* tokens = nullptr;

    bool operator==(const MailAccess&) const = default;
};

} // namespace brindle
