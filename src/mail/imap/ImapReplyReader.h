#pragma once

#include "mail/imap/ImapResponse.h"

#include <QCoreApplication>
#include <QString>

namespace brindle {

// Frames IMAP responses out of a byte stream: tagged and untagged responses
// and continuation requests, with literals ("{n}" at a line's end, then n
// bytes, then the rest of the response). A response may arrive in any pieces;
// only whole responses are taken.
class ImapReplyReader {
    Q_DECLARE_TR_FUNCTIONS(brindle::ImapReplyReader)

public:
    enum class Result {
        NeedMore, // no complete response yet: feed more bytes
        Done,     // a response was taken
        Error,    // the input breaks the protocol or a limit; see errorText()
    };

    struct Limits {
        qsizetype maxLineLength = 64 * 1024;
        qsizetype maxLiteralSize = 64 * 1024;
        // Text and literals of one response together.
        qsizetype maxResponseSize = 256 * 1024;
    };

    explicit ImapReplyReader(const Limits& limits);

    void feed(const char* data, qsizetype size);
    Result take(ImapResponse& response);
    // True when bytes beyond the responses taken so far have arrived.
    bool hasUnreadInput() const { return position_ < input_.size(); }
    QString errorText() const { return errorText_; }

private:
    // Reads the response's lines and literals from position_ on into partial_;
    // true once the last line has been read.
    bool readParts();
    // The literal size a line announces at its end, -1 for none.
    static qint64 announcedLiteral(const QByteArray& line);
    bool finishResponse(ImapResponse& response);
    Result failWith(const QString& text);

    Limits limits_;
    QByteArray input_;
    qsizetype position_ = 0;
    // The response read so far and the literal still to come, if any.
    ImapResponse partial_;
    qint64 literalLeft_ = -1;
    qsizetype partialSize_ = 0;
    bool failed_ = false;
    QString errorText_;
};

} // namespace brindle
