#pragma once

#include "mail/MailHeader.h"

#include <QByteArray>

namespace brindle {

// From, To, Subject and Date of a message's header, unfolded and decoded for
// reading (HeaderText); reading stops at the first empty line.
MailHeader readMailHeaderFields(const QByteArray& message);

} // namespace brindle
