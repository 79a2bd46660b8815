#include "app/NewMailNotices.h"

#include "presentation/DesktopNotifications.h"

#include <QDateTime>
#include <QSet>
#include <algorithm>

namespace brindle {

namespace {

// The name in "Name <address>" (quotes dropped), else the address alone.
QString senderName(const QString& from) {
    const qsizetype open = from.indexOf(u'<');
    QString name = open < 0 ? from : from.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(u'"') && name.endsWith(u'"')) {
        name = name.mid(1, name.size() - 2).trimmed();
    }
    if (name.isEmpty() && open >= 0) {
        name = from.mid(open + 1).section(u'>', 0, 0).trimmed();
    }
    return name;
}

} // namespace

NewMailNotices::NewMailNotices(DesktopNotifications& notifications, QObject* parent)
    : QObject(parent), notifications_(notifications) {
    connect(&notifications_, &DesktopNotifications::clicked, this, [this](uint id) {
        if (id != 0 && id == shown_) {
            emit clicked();
        }
    });
    connect(&notifications_, &DesktopNotifications::closed, this, &NewMailNotices::forget);
}

void NewMailNotices::tell(const QList<NewMessages>& mailboxes, bool wanted) {
    if (shown_ != 0 && namedMailGone(mailboxes)) {
        notifications_.close(shown_);
        forget(shown_);
    }
    QHash<QString, QStringList> added;
    for (const NewMessages& mailbox : mailboxes) {
        if (!mailbox.added.isEmpty()) {
            added.insert(mailbox.mailbox, mailbox.added);
        }
    }
    if (added.isEmpty() || !wanted) {
        return;
    }
    shown_ = notifications_.show(shown_, tr("新着メールが有ります"), lines(mailboxes));
    named_ = shown_ != 0 ? added : QHash<QString, QStringList>();
}

// A mailbox not read this time (it failed) says nothing about its mail.
bool NewMailNotices::namedMailGone(const QList<NewMessages>& mailboxes) const {
    return std::any_of(mailboxes.cbegin(), mailboxes.cend(), [this](const NewMessages& mailbox) {
        const QStringList named = named_.value(mailbox.mailbox);
        const QSet<QString> present(mailbox.present.cbegin(), mailbox.present.cend());
        return std::any_of(named.cbegin(), named.cend(),
                           [&present](const QString& id) { return !present.contains(id); });
    });
}

// Newest first by their Date across the mailboxes; a message without a
// readable date keeps its place behind those with one.
QStringList NewMailNotices::lines(const QList<NewMessages>& mailboxes) {
    QList<std::pair<QDateTime, const MailHeader*>> headers;
    qsizetype added = 0;
    for (const NewMessages& mailbox : mailboxes) {
        added += mailbox.added.size();
        for (const MailHeader& header : mailbox.headers) {
            headers.append({QDateTime::fromString(header.date, Qt::RFC2822Date), &header});
        }
    }
    std::stable_sort(headers.begin(), headers.end(), [](const auto& one, const auto& other) {
        return one.first.isValid() && (!other.first.isValid() || one.first > other.first);
    });
    QStringList lines;
    for (const auto& [date, header] :
         headers.first(std::min<qsizetype>(MaxLines, headers.size()))) {
        const QString sender = senderName(header->from);
        lines.append(QStringLiteral("%1 — %2").arg(sender.isEmpty() ? tr("(差出人なし)") : sender,
                                                   header->subject.isEmpty() ? tr("(件名なし)")
                                                                             : header->subject));
    }
    if (added > lines.size()) {
        lines.append(tr("ほか %1 通").arg(added - lines.size()));
    }
    return lines;
}

void NewMailNotices::forget(uint id) {
    if (id == shown_) {
        shown_ = 0;
        named_.clear();
    }
}

} // namespace brindle
