#pragma once

#include "mail/MailClient.h"
#include "mail/net/MailServerAddress.h"
#include "mail/pop3/Pop3Options.h"

namespace brindle {

// The mail client on our own POP3 session.
class Pop3MailClient : public MailClient {
public:
    explicit Pop3MailClient(const Pop3Options& options = {});

    // nullptr also for a server text that names no POP3 server.
    std::unique_ptr<MailSession> open(const QString& server) override;
    std::unique_ptr<MailSession> open(const MailServerAddress& address);

private:
    Pop3Options options_;
};

} // namespace brindle
