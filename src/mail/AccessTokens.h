#pragma once

#include "mail/MailSession.h"

#include <QString>
#include <variant>

namespace brindle {

// The OAuth 2.0 access tokens of accounts that sign in without a password.
class AccessTokens {
public:
    virtual ~AccessTokens() = default;
    // A token that is valid now (refreshed first when it is about to expire),
    // or why there is none, in words for the user (a refused refresh says to
    // sign in again). Waits a bounded time at most.
    virtual std::variant<QString, MailError> accessToken(const QString& server,
                                                         const QString& id) = 0;
};

} // namespace brindle
