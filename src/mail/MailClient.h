#pragma once

#include "mail/MailAccess.h"
#include "mail/MailSession.h"
#include "mail/MailWatch.h"

#include <QString>
#include <functional>
#include <memory>

namespace brindle {

// Opens sessions with a mail server.
class MailClient {
public:
    virtual ~MailClient() = default;
    // A connected session, or nullptr when no connection can be made.
    virtual std::unique_ptr<MailSession> open(const QString& server) = 0;
    // A watch that calls onNewMail as soon as the server tells of new mail,
    // or nullptr where the protocol cannot tell (a server that turns out not
    // to tell makes the watch end quietly).
    virtual std::unique_ptr<MailWatch> watch(const MailAccess& /*access*/,
                                             std::function<void()> /*onNewMail*/) {
        return nullptr;
    }
};

} // namespace brindle
