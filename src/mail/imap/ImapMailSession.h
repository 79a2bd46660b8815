#pragma once

#include "mail/MailSession.h"
#include "mail/imap/ImapSession.h"

namespace brindle {

// A connected IMAP session as a mail session: the count is the number of
// unseen messages in INBOX, and no message is ever marked read or changed
// (headers are read with BODY.PEEK in INBOX examined read-only). Says
// LOGOUT when it goes. APOP has no meaning here and is ignored.
class ImapMailSession : public MailSession {
public:
    ImapMailSession(const MailServerAddress& address, const ImapOptions& options);
    ~ImapMailSession() override;

    // Opens the TCP connection; false when none can be made.
    bool connect();

    std::variant<int, MailError> logIn(const QString& id, const QString& password,
                                       Authentication authentication) override;
    // Messages are never read: these always give nullopt.
    std::optional<MailHeader> header(int number) override;
    std::optional<qint64> size(int number) override;
    std::optional<QByteArray> fetch(int number) override;
    bool checkReadsMessages() const override { return false; }
    // "UIDVALIDITY.UID" of each unseen message in INBOX.
    std::optional<QStringList> messageIds() override;
    QHash<QString, MailHeader> headers(const QStringList& ids) override;
    bool isOpen() const override { return session_.isOpen(); }

private:
    ImapSession session_;
};

} // namespace brindle
