#pragma once

#include <QString>

namespace brindle {

// Header fields of one message, decoded for reading.
struct MailHeader {
    QString from;
    QString to;
    QString subject;
    QString date;
};

} // namespace brindle
