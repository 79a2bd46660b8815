#pragma once

#include "mail/MailSession.h"

#include <QString>
#include <memory>

namespace brindle {

// Opens sessions with a mail server.
class MailClient {
public:
    virtual ~MailClient() = default;
    // A connected session, or nullptr when no connection can be made.
    virtual std::unique_ptr<MailSession> open(const QString& server) = 0;
};

} // namespace brindle
