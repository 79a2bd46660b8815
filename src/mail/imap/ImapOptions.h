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
    // IDLE is ended and issued anew this often: servers may drop an IDLE of
    // 30 minutes (RFC 2177).
    int idleRenewMs = 25 * 60 * 1000;
    // Reading what came during IDLE stops after this many reads at once; the
    // rest is taken at the next wake-up.
    int maxIdleReads = 64;
    // A dropped watch is opened again after retryFirstMs, doubling up to retryMaxMs.
    int retryFirstMs = 5000;
    int retryMaxMs = 15 * 60 * 1000;
};

} // namespace brindle
