#pragma once

#include <QString>

namespace brindle {

// Header fields of one message, as they stand in the message.
struct MailHeader {
    QString from;
    QString to;
    QString subject;
    QString date;
};

} // namespace brindle
