#include "mail/imap/ImapMailSession.h"

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

} // namespace brindle
