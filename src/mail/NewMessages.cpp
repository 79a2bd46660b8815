#include "mail/NewMessages.h"

#include "mail/MailSession.h"
#include "settings/core/SeenMessages.h"

#include <QSet>

namespace brindle {

std::optional<NewMessages> NewMessages::read(MailSession& session, const SeenMessages& seen,
                                             const QString& mailbox) {
    const std::optional<QStringList> ids = session.messageIds();
    if (!ids) {
        return std::nullopt;
    }
    NewMessages news;
    news.present = ids->mid(std::max<qsizetype>(0, ids->size() - SeenMessages::MaxIdsPerMailbox));
    const QStringList before = seen.ids(mailbox);
    const QSet<QString> seenBefore(before.cbegin(), before.cend());
    for (const QString& id : std::as_const(news.present)) {
        if (!seenBefore.contains(id)) {
            news.added.append(id);
        }
    }
    const QStringList newest =
        news.added.mid(std::max<qsizetype>(0, news.added.size() - MaxHeadersRead));
    const QHash<QString, MailHeader> headers = session.headers(newest);
    for (auto id = newest.crbegin(); id != newest.crend(); ++id) {
        if (headers.contains(*id)) {
            news.headers.append(headers.value(*id));
        }
    }
    // Ids gone from the mailbox stay known behind those present: unseen IMAP
    // mail read elsewhere and marked unread again is not new.
    const QSet<QString> present(news.present.cbegin(), news.present.cend());
    QStringList kept;
    for (const QString& id : before) {
        if (!present.contains(id)) {
            kept.append(id);
        }
    }
    seen.keep(mailbox, kept + news.present);
    return news;
}

} // namespace brindle
