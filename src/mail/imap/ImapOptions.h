#pragma once

#include "mail/imap/ImapReplyReader.h"
#include "mail/net/ConnectionOptions.h"

namespace brindle {

// Limits and time-outs of the IMAP client; tests shorten the time-outs.
struct ImapOptions : ConnectionOptions {
    ImapReplyReader::Limits replyLimits;
    // Untagged responses taken while one command runs; a server that sends
    // more is broken or hostile.
    int maxUntaggedPerCommand = 10000;
};

} // namespace brindle
