#pragma once

#include <QByteArray>
#include <QList>

namespace brindle {

// One IMAP response as framed by ImapReplyReader.
struct ImapResponse {
    enum class Kind {
        Tagged,       // "<tag> OK|NO|BAD text": the end of a command
        Untagged,     // "* ...": data or a status the server sends at any time
        Continuation, // "+ ...": the server waits for more of a command
    };

    Kind kind = Kind::Untagged;
    QByteArray tag; // tagged responses only
    // What follows the tag, "*" or "+" and one blank, without the line end. A
    // literal's "{n}" stays in the text; its bytes are in literals, in order.
    QByteArray text;
    QList<QByteArray> literals;

    // The index-th blank-separated word of text in upper case ("OK", "BYE",
    // "CAPABILITY"; for "* 5 EXISTS" word 0 is "5"), or empty.
    QByteArray word(int index) const;
    // The text after the first word (a status's reason, a capability list).
    QByteArray afterFirstWord() const;
};

} // namespace brindle
