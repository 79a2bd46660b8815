#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace brindle {

// The text of an unfolded header field value as a person reads it: RFC 2047
// encoded words (B and Q) in UTF-8, ISO-2022-JP, Shift_JIS/CP932, EUC-JP or
// ISO-8859-1 decoded, with adjacent words joined before decoding (a character
// may be split between them), and raw 8-bit text taken as UTF-8, EUC-JP or
// CP932, whichever it is. Whatever cannot be decoded becomes U+FFFD; control
// characters too, so the text is safe to show and to send over D-Bus. Runs of
// blanks become one blank. The text is never longer than the bytes.
class HeaderText {
public:
    static QString decode(QByteArrayView value);
    // The bytes in the named character set (an unknown one is guessed as raw
    // 8-bit text is).
    static QString decodeCharset(QByteArrayView bytes, QByteArrayView charset);
};

} // namespace brindle
