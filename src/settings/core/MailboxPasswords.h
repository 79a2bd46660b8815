#pragma once

#include "settings/core/Mailbox.h"

#include <QString>
#include <variant>

namespace brindle {

// The passwords of the mailboxes after the first, in the desktop keyring.
class MailboxPasswords {
public:
    struct Failure {
        QString text; // why the keyring could not be used, for the user
    };

    virtual ~MailboxPasswords() = default;
    // The mailbox's password; a missing one is a failure that says so.
    virtual std::variant<QString, Failure> read(const Mailbox& mailbox) = 0;
    // Empty once stored.
    virtual QString store(const Mailbox& mailbox, const QString& password) = 0;
    // Empty once gone (or when there was none).
    virtual QString remove(const Mailbox& mailbox) = 0;
};

} // namespace brindle
