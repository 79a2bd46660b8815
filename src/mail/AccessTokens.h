#pragma once

#include "mail/MailSession.h"

#include <QString>
#include <variant>

namespace brindle {

// The OAuth 2.0 access tokens of accounts that sign in without a password.
class AccessTokens {
public:
    // WhenDue: refreshed when about to expire; Now: refreshed first in any
    // case, as after a mail server refused the token it was given.
    enum class Refresh { WhenDue, Now };

    virtual ~AccessTokens() = default;
    // A token that is valid now, or why there is none, in words for the user
    // (a refused refresh says to sign in again). Waits a bounded time at most.
    virtual std::variant<QString, MailError> accessToken(const QString& server, const QString& id,
                                                         Refresh refresh) = 0;
};

} // namespace brindle
