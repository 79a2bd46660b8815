#pragma once

#include "mail/net/ConnectionOptions.h"

#include <QtGlobal>

namespace brindle {

// Limits and time-outs of the POP3 client; tests shorten the time-outs.
struct Pop3Options : ConnectionOptions {
    // Messages whose TOP, LIST and RETR are sent ahead when the server pipelines.
    int pipelineWindow = 16;
    qsizetype maxLineLength = 64 * 1024;
    // A capability list is a few dozen short lines.
    qsizetype maxCapabilityListSize = 4 * 1024;
    qint64 maxMessageSize = qint64(256) * 1024 * 1024;
    // A UIDL list: some 30,000 messages with ids of the usual length.
    qint64 maxUniqueIdListSize = 1024 * 1024;
    // The whole header TOP n 0 gives when only its start is wanted.
    qint64 maxHeaderSize = 1024 * 1024;
};

} // namespace brindle
