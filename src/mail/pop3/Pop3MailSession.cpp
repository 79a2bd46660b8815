#include "mail/pop3/Pop3MailSession.h"

#include "mail/header/MailHeaderFields.h"

namespace brindle {

Pop3MailSession::Pop3MailSession(const MailServerAddress& address, const Pop3Options& options)
    : session_(address, options) {}

Pop3MailSession::~Pop3MailSession() {
    session_.quit();
}

bool Pop3MailSession::connect() {
    return session_.connect();
}

std::variant<int, MailError> Pop3MailSession::logIn(const QString& id, const QString& password,
                                                    Authentication authentication) {
    const int count = session_.authenticate(id, password, authentication);
    if (count < 0) {
        return MailError{session_.errorText(), session_.openidConfiguration(),
                         session_.tokenRefused()};
    }
    return count;
}

std::optional<MailHeader> Pop3MailSession::header(int number) {
    MailHeader header;
    if (session_.fetchStatus(number, header) < 0) {
        return std::nullopt;
    }
    return header;
}

std::optional<qint64> Pop3MailSession::size(int number) {
    const qint64 bytes = session_.fetchSize(number);
    if (bytes < 0) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<QByteArray> Pop3MailSession::fetch(int number) {
    MailHeader header;
    QByteArray message;
    if (session_.fetchMessage(number, header, message) < 0) {
        return std::nullopt;
    }
    return message;
}

std::optional<QStringList> Pop3MailSession::messageIds() {
    const std::optional<QList<QByteArray>> uniqueIds = session_.fetchUniqueIds();
    if (!uniqueIds) {
        return std::nullopt;
    }
    QStringList ids;
    numbers_.clear();
    for (qsizetype index = 0; index < uniqueIds->size(); ++index) {
        const QString id = QString::fromLatin1(uniqueIds->at(index));
        if (!id.isEmpty() && !numbers_.contains(id)) {
            numbers_.insert(id, int(index + 1));
            ids.append(id);
        }
    }
    return ids;
}

QHash<QString, MailHeader> Pop3MailSession::headers(const QStringList& ids) {
    QHash<QString, MailHeader> found;
    QByteArray header;
    for (const QString& id : ids) {
        if (numbers_.contains(id) &&
            session_.fetchHeaderStart(numbers_.value(id), MaxHeaderBytes, header)) {
            found.insert(id, readMailHeaderFields(header));
        }
        if (!session_.isOpen()) {
            break;
        }
    }
    return found;
}

} // namespace brindle
