#include "mail/imap/ImapMailSession.h"

#include "mail/header/MailHeaderFields.h"

namespace brindle {

ImapMailSession::ImapMailSession(const MailServerAddress& address, const ImapOptions& options)
    : session_(address, options) {}

ImapMailSession::~ImapMailSession() {
    session_.logOut();
}

bool ImapMailSession::connect() {
    return session_.connect();
}

std::variant<int, MailError> ImapMailSession::logIn(const QString& id, const QString& password,
                                                    Authentication authentication) {
    if (!session_.logIn(id, password, authentication)) {
        return MailError{session_.errorText(), session_.openidConfiguration(),
                         session_.tokenRefused()};
    }
    const int count = session_.unseenCount();
    if (count < 0) {
        return MailError{session_.errorText()};
    }
    return count;
}

std::optional<MailHeader> ImapMailSession::header(int) {
    return std::nullopt;
}

std::optional<qint64> ImapMailSession::size(int) {
    return std::nullopt;
}

std::optional<QByteArray> ImapMailSession::fetch(int) {
    return std::nullopt;
}

std::optional<QStringList> ImapMailSession::messageIds() {
    if (!session_.examineInbox()) {
        return std::nullopt;
    }
    const std::optional<QList<quint32>> uids = session_.unseenUids();
    if (!uids || session_.uidValidity() == 0) {
        return std::nullopt;
    }
    QStringList ids;
    for (const quint32 uid : *uids) {
        ids.append(QStringLiteral("%1.%2").arg(session_.uidValidity()).arg(uid));
    }
    return ids;
}

QHash<QString, MailHeader> ImapMailSession::headers(const QStringList& ids) {
    const QString prefix = QStringLiteral("%1.").arg(session_.uidValidity());
    QList<quint32> uids;
    for (const QString& id : ids) {
        bool ok = false;
        const quint32 uid = id.startsWith(prefix) ? id.mid(prefix.size()).toUInt(&ok) : 0;
        if (ok && uid > 0) {
            uids.append(uid);
        }
    }
    const auto fields = session_.fetchHeaderFields(uids, MaxHeaderBytes);
    if (!fields) {
        return {};
    }
    QHash<QString, MailHeader> found;
    for (auto field = fields->cbegin(); field != fields->cend(); ++field) {
        found.insert(prefix + QString::number(field.key()), readMailHeaderFields(field.value()));
    }
    return found;
}

} // namespace brindle
