#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace brindle {

// Shift-JIS as Windows writes it (code page 932), the encoding of every settings
// file.
class Cp932 {
public:
    // The bytes of the text, or nothing when a character has no code of its own
    // (one that would come back as a different character is refused too).
    static std::optional<QByteArray> encode(const QString& text);
    // The text of the bytes; a byte that starts no valid character becomes U+FFFD.
    static QString decode(QByteArrayView bytes);

    // True for the first byte of a double-byte character.
    static bool isLeadByte(char byte);
    // The longest start of the bytes of at most maxBytes that ends between
    // characters.
    static qsizetype characterBoundary(QByteArrayView bytes, qsizetype maxBytes);
};

} // namespace brindle
