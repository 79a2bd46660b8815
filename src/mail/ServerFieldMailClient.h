#pragma once

#include "mail/MailClient.h"
#include "mail/imap/ImapMailClient.h"
#include "mail/pop3/Pop3MailClient.h"

namespace brindle {

// The one place that chooses the protocol: opens a POP3 or an IMAP session
// (and watch) as the server field names it.
class ServerFieldMailClient : public MailClient {
public:
    ServerFieldMailClient(const Pop3Options& pop3Options = {}, const ImapOptions& imapOptions = {});

    // nullptr for a server text that names no server.
    std::unique_ptr<MailSession> open(const QString& server) override;
    std::unique_ptr<MailWatch> watch(const MailAccess& access,
                                     std::function<void()> onNewMail) override;

private:
    Pop3MailClient pop3_;
    ImapMailClient imap_;
};

} // namespace brindle
