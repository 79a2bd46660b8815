#pragma once

#include <QString>

namespace brindle {

// What a check logged in with: enough to open another session to the same
// mailbox. Held in memory only.
struct MailAccess {
    QString server;
    QString id;
    QString password;

    bool operator==(const MailAccess&) const = default;
};

} // namespace brindle
