#include "signin/KeyringMailboxPasswords.h"

#include "signin/SecretStore.h"

#include <QCoreApplication>

namespace brindle {

namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(brindle::KeyringMailboxPasswords)
};

} // namespace

QString KeyringMailboxPasswords::keyFor(const Mailbox& mailbox) {
    return QStringLiteral("password %1 %2").arg(mailbox.server, mailbox.id);
}

std::variant<QString, MailboxPasswords::Failure>
KeyringMailboxPasswords::read(const Mailbox& mailbox) {
    const auto secret = secrets_.read(keyFor(mailbox));
    if (const auto* failure = std::get_if<SecretStore::Failure>(&secret)) {
        return Failure{failure->text};
    }
    if (std::holds_alternative<SecretStore::Missing>(secret)) {
        return Failure{Texts::tr("キーリングにパスワードがありません。")};
    }
    return QString::fromUtf8(std::get<QByteArray>(secret));
}

QString KeyringMailboxPasswords::store(const Mailbox& mailbox, const QString& password) {
    const auto failure = secrets_.write(keyFor(mailbox), password.toUtf8());
    return failure ? failure->text : QString();
}

QString KeyringMailboxPasswords::remove(const Mailbox& mailbox) {
    const auto failure = secrets_.remove(keyFor(mailbox));
    return failure ? failure->text : QString();
}

} // namespace brindle
