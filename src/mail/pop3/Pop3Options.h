#pragma once

#include <QtGlobal>

namespace brindle {

// Limits and time-outs of the POP3 client; tests shorten the time-outs.
struct Pop3Options {
    int connectTimeoutMs = 15000;
    // Longest wait for the next bytes of a reply; any progress restarts it.
    int replyTimeoutMs = 30000;
    // Messages whose TOP, LIST and RETR are sent ahead when the server pipelines.
    int pipelineWindow = 16;
    qsizetype maxLineLength = 64 * 1024;
    qint64 maxMessageSize = qint64(256) * 1024 * 1024;
};

} // namespace brindle
