#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

namespace brindle {

// Frames POP3 replies out of a byte stream: the status line ("+OK ...",
// "-ERR ..." or a SASL challenge "+ ...") and multi-line bodies ending in a lone dot, with the
// dot-stuffing undone. Only whole lines are consumed, so a reply may arrive in any pieces.
class Pop3ReplyReader {
    Q_DECLARE_TR_FUNCTIONS(brindle::Pop3ReplyReader)

public:
    enum class Result {
        NeedMore, // the input holds no complete line yet: feed more bytes
        Done,     // a status line or a whole body was taken
        Error,    // the input breaks the protocol; see errorText()
    };

    struct StatusLine {
        bool ok = false;
        // A SASL challenge ("+ " and base64, RFC 5034) rather than a status.
        bool challenge = false;
        QByteArray text; // what follows "+OK ", "-ERR " or "+ ", without the line end
    };

    explicit Pop3ReplyReader(qsizetype maxLineLength);

    void feed(const char* data, qsizetype size);
    // Takes one status line.
    Result takeStatusLine(StatusLine& line);
    // Appends body lines to body until the terminating lone dot; may be called
    // again after NeedMore and continues where it stopped. A body longer than
    // maxBodySize is an error.
    Result takeBody(QByteArray& body, qint64 maxBodySize);
    // True when bytes beyond the replies taken so far have arrived.
    bool hasUnreadInput() const { return position_ < input_.size(); }
    QString errorText() const { return errorText_; }

private:
    // Finds the end of the next complete line, or -1 (setting error on overlong lines).
    qsizetype nextLineEnd();

    qsizetype maxLineLength_;
    QByteArray input_;
    qsizetype position_ = 0;
    bool failed_ = false;
    QString errorText_;
};

} // namespace brindle
