#pragma once

#include "mail/MailHeader.h"

#include <QByteArray>

namespace brindle {

// From, To, Subject and Date of a message's header, unfolded, as they stand
// (encoded words are left encoded); reading stops at the first empty line.
MailHeader readMailHeaderFields(const QByteArray& message);

} // namespace brindle
