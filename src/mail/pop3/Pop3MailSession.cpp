#include "mail/pop3/Pop3MailSession.h"

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

} // namespace brindle
