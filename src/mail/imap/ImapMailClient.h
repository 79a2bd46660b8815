#pragma once

#include "mail/MailClient.h"
#include "mail/imap/ImapOptions.h"
#include "mail/net/MailServerAddress.h"

namespace brindle {

// The mail client on our own IMAP session.
class ImapMailClient : public MailClient {
public:
    explicit ImapMailClient(const ImapOptions& options = {});

    // nullptr also for a server text that names no IMAP server.
    std::unique_ptr<MailSession> open(const QString& server) override;
    std::unique_ptr<MailSession> open(const MailServerAddress& address);
    // Watches INBOX through IDLE; nullptr for a server text that names no IMAP server.
    std::unique_ptr<MailWatch> watch(const MailAccess& access,
                                     std::function<void()> onNewMail) override;

private:
    ImapOptions options_;
};

} // namespace brindle
