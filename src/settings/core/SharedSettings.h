#pragma once

#include <QString>
#include <cstdint>

namespace brindle {

// The six program-wide settings that carry the mail account through a run.
struct SharedSettings {
    QString SmtpServer;
    QString Pop3Server;
    QString MailAddress;
    std::int16_t ApopFlag = 0; // 0 off, anything else asks for APOP
    QString AccountId;
    QString AccountPassword;
    // Set once an ID and password were confirmed in the account dialog this run.
    bool AccountConfirmed = false;
};

} // namespace brindle
