#pragma once

namespace brindle {

// Time-outs and limits of one connection to a mail server, whatever its
// protocol; tests shorten the time-outs.
struct ConnectionOptions {
    // Longest wait for the system to turn the server name into addresses.
    int lookupTimeoutMs = 10000;
    // Each address has this long to accept; a name's addresses are tried in turn,
    // the next one starting when the one before fails or after attemptDelayMs,
    // while the earlier ones keep trying (RFC 8305).
    int connectTimeoutMs = 10000;
    int connectAttemptDelayMs = 250;
    // More addresses of one name are not tried; each try holds a socket.
    int maxConnectAddresses = 8;
    // Longest wait for the next bytes of a reply; any progress restarts it.
    int replyTimeoutMs = 30000;
    // A whole session, from the name look-up to the close, ends by this time
    // whatever the server does, so a server that drips bytes cannot hold a check.
    int sessionDeadlineMs = 3 * 60 * 1000;
};

} // namespace brindle
