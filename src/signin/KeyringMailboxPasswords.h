#pragma once

#include "settings/core/MailboxPasswords.h"

namespace brindle {

class SecretStore;

// The mailboxes' passwords as keyring items of their own, one per server
// field and ID, apart from any sign-in's tokens.
class KeyringMailboxPasswords : public MailboxPasswords {
public:
    explicit KeyringMailboxPasswords(SecretStore& secrets) : secrets_(secrets) {}

    std::variant<QString, Failure> read(const Mailbox& mailbox) override;
    QString store(const Mailbox& mailbox, const QString& password) override;
    QString remove(const Mailbox& mailbox) override;

    static QString keyFor(const Mailbox& mailbox);

private:
    SecretStore& secrets_;
};

} // namespace brindle
