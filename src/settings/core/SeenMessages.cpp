#include "settings/core/SeenMessages.h"

#include "settings/core/Cp932.h"
#include "settings/core/StoredFile.h"

#include <QList>
#include <algorithm>
#include <utility>

namespace brindle {

namespace {

const QString MailboxLine = QStringLiteral("mailbox ");

using Mailboxes = QList<std::pair<QString, QStringList>>;

Mailboxes readMailboxes(const QString& path) {
    Mailboxes mailboxes;
    const QString text = Cp932::decode(StoredFile::read(path).value_or(QByteArray()));
    for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        if (line.startsWith(MailboxLine)) {
            mailboxes.append({line.mid(MailboxLine.size()), {}});
        } else if (!mailboxes.isEmpty() && !line.contains(u' ')) {
            mailboxes.last().second.append(line);
        }
    }
    return mailboxes;
}

bool isKeptId(const QString& id) {
    return !id.isEmpty() && std::all_of(id.cbegin(), id.cend(), [](QChar c) {
        return c > u' ' && c.category() != QChar::Other_Control;
    });
}

} // namespace

QStringList SeenMessages::ids(const QString& mailbox) const {
    for (const auto& [name, ids] : readMailboxes(path_)) {
        if (name == mailbox) {
            return ids;
        }
    }
    return {};
}

bool SeenMessages::keep(const QString& mailbox, const QStringList& ids) const {
    return keep({{mailbox, ids}});
}

bool SeenMessages::keep(const Mailboxes& changed) const {
    if (std::any_of(changed.cbegin(), changed.cend(), [](const auto& mailbox) {
            return mailbox.first.contains(u'\r') || mailbox.first.contains(u'\n');
        })) {
        return false;
    }
    Mailboxes mailboxes = readMailboxes(path_);
    for (const auto& [mailbox, ids] : changed) {
        mailboxes.removeIf([&mailbox](const auto& kept) { return kept.first == mailbox; });
        QStringList kept;
        std::copy_if(ids.cbegin(), ids.cend(), std::back_inserter(kept), isKeptId);
        mailboxes.append(
            {mailbox, kept.mid(std::max<qsizetype>(0, kept.size() - MaxIdsPerMailbox))});
    }
    QString text;
    for (qsizetype index = std::max<qsizetype>(0, mailboxes.size() - MaxMailboxes);
         index < mailboxes.size(); ++index) {
        text += MailboxLine + mailboxes.at(index).first + QStringLiteral("\r\n");
        for (const QString& id : std::as_const(mailboxes.at(index).second)) {
            text += id + QStringLiteral("\r\n");
        }
    }
    const std::optional<QByteArray> bytes = Cp932::encode(text);
    return bytes && StoredFile::replace(path_, *bytes, StoredFile::Access::Default);
}

} // namespace brindle
