#pragma once

#include "mail/MailSession.h"
#include "mail/pop3/Pop3Session.h"

namespace brindle {

// A connected POP3 session as a mail session; says QUIT when it goes.
class Pop3MailSession : public MailSession {
public:
    Pop3MailSession(const MailServerAddress& address, const Pop3Options& options);
    ~Pop3MailSession() override;

    // Opens the TCP connection; false when none can be made.
    bool connect();

    std::variant<int, MailError> logIn(const QString& id, const QString& password,
                                       Authentication authentication) override;
    std::optional<MailHeader> header(int number) override;
    std::optional<qint64> size(int number) override;
    std::optional<QByteArray> fetch(int number) override;
    std::optional<QStringList> messageIds() override;
    QHash<QString, MailHeader> headers(const QStringList& ids) override;
    bool isOpen() const override { return session_.isOpen(); }

private:
    Pop3Session session_;
    // The message number of each id of the last messageIds().
    QHash<QString, int> numbers_;
};

} // namespace brindle
