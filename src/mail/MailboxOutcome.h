#pragma once

#include <QString>

namespace brindle {

// What one check found in one mailbox: its count, or why it could not be read.
struct MailboxOutcome {
    QString name;
    int count = 0;
    QString error; // empty when the mailbox was read
};

} // namespace brindle
