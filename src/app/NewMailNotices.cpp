#include "app/NewMailNotices.h"

#include "presentation/DesktopNotifications.h"

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

void NewMailNotices::tell(const NewMessages& news, bool wanted) {
    const QSet<QString> present(news.present.cbegin(), news.present.cend());
    if (shown_ != 0 && std::any_of(named_.cbegin(), named_.cend(), [&present](const QString& id) {
            return !present.contains(id);
        })) {
        notifications_.close(shown_);
        forget(shown_);
    }
    if (news.added.isEmpty() || !wanted) {
        return;
    }
    shown_ = notifications_.show(shown_, tr("新着メールが有ります"), lines(news));
    named_ = shown_ != 0 ? news.added : QStringList();
}

QStringList NewMailNotices::lines(const NewMessages& news) {
    QStringList lines;
    for (const MailHeader& header :
         news.headers.first(std::min<qsizetype>(MaxLines, news.headers.size()))) {
        const QString sender = senderName(header.from);
        lines.append(QStringLiteral("%1 — %2").arg(sender.isEmpty() ? tr("(差出人なし)") : sender,
                                                   header.subject.isEmpty() ? tr("(件名なし)")
                                                                            : header.subject));
    }
    if (news.added.size() > lines.size()) {
        lines.append(tr("ほか %1 通").arg(news.added.size() - lines.size()));
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
