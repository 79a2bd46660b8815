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
    // rest is taken from the event loop right after.
    int maxIdleReads = 64;
    // A dropped watch is opened again after retryFirstMs, doubling up to retryMaxMs.
    int retryFirstMs = 5000;
    int retryMaxMs = 15 * 60 * 1000;
    // A watch that stayed in IDLE this long has worked: after its drop the
    // wait starts again at retryFirstMs. One that drops sooner keeps doubling,
    // so a server that accepts IDLE and hangs up is not logged into every few seconds.
    int retryResetMs = 60 * 1000;
};

} // namespace brindle
