#include "mail/NewMessages.h"

#include "mail/MailSession.h"
#include "settings/core/SeenMessages.h"

#include <QSet>

namespace brindle {

QString NewMessages::mailboxName(const QString& server, const QString& id) {
    return server + u' ' + id;
}

std::optional<NewMessages> NewMessages::read(MailSession& session, const QString& mailbox,
                                             const QStringList& seenBefore) {
    const std::optional<QStringList> ids = session.messageIds();
    if (!ids) {
        return std::nullopt;
    }
    NewMessages news;
    news.mailbox = mailbox;
    news.present = ids->mid(std::max<qsizetype>(0, ids->size() - SeenMessages::MaxIdsPerMailbox));
    const QSet<QString> known(seenBefore.cbegin(), seenBefore.cend());
    for (const QString& id : std::as_const(news.present)) {
        if (!known.contains(id)) {
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
    for (const QString& id : seenBefore) {
        if (!present.contains(id)) {
            news.seen.append(id);
        }
    }
    news.seen += news.present;
    return news;
}

} // namespace brindle
