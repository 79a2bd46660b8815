#include "mail/header/HeaderText.h"

#include "settings/core/Cp932.h"

#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <optional>

namespace brindle {

namespace {

constexpr QChar Replacement = QChar::ReplacementCharacter;
// RFC 2047 allows 75 characters per encoded word; senders write longer ones,
// but an end farther off than this is not looked for.
constexpr qsizetype maxEncodedWordLength = 1024;

enum class Charset { Guessed, Utf8, Iso2022Jp, Cp932, EucJp, Latin1 };

struct KnownCharset {
    const char* name; // in lower case
    Charset charset;
};

// Shift_JIS is read as CP932, the superset that Japanese mail programs write.
constexpr KnownCharset knownCharsets[] = {
    {"utf-8", Charset::Utf8},
    {"utf8", Charset::Utf8},
    {"iso-2022-jp", Charset::Iso2022Jp},
    {"csiso2022jp", Charset::Iso2022Jp},
    {"shift_jis", Charset::Cp932},
    {"shift-jis", Charset::Cp932},
    {"sjis", Charset::Cp932},
    {"x-sjis", Charset::Cp932},
    {"cp932", Charset::Cp932},
    {"windows-31j", Charset::Cp932},
    {"euc-jp", Charset::EucJp},
    {"x-euc-jp", Charset::EucJp},
    {"iso-8859-1", Charset::Latin1},
    {"latin1", Charset::Latin1},
};

Charset charsetNamed(QByteArrayView name) {
    const QByteArray lower = name.toByteArray().toLower();
    for (const KnownCharset& known : knownCharsets) {
        if (lower == known.name) {
            return known.charset;
        }
    }
    return Charset::Guessed;
}

bool inRange(uchar byte, uchar first, uchar last) {
    return byte >= first && byte <= last;
}

// The CP932 bytes of a JIS X 0208 character given by its two 7-bit bytes.
// Rows that JIS leaves empty land on CP932's NEC and IBM extensions, as
// Japanese mail programs write them in ISO-2022-JP.
void appendJisAsCp932(QByteArray& out, uchar first, uchar second) {
    out += char(((first + 1) >> 1) + (first <= 0x5E ? 0x70 : 0xB0));
    out += char(second + ((first & 1) != 0 ? (second >= 0x60 ? 0x20 : 0x1F) : 0x7E));
}

// Japanese text collected as CP932 bytes, with U+FFFD where a byte fits nothing.
class Cp932Text {
public:
    QByteArray run;
    void bad() {
        flush();
        text_ += Replacement;
    }
    QString finish() {
        flush();
        return text_;
    }

private:
    void flush() {
        text_ += Cp932::decode(run);
        run.clear();
    }
    QString text_;
};

QString decodeIso2022Jp(QByteArrayView bytes) {
    enum class Mode { Ascii, Kanji, Katakana } mode = Mode::Ascii;
    Cp932Text out;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const auto byte = uchar(bytes[at]);
        if (byte == 0x1B) {
            const QByteArrayView escape =
                bytes.sliced(at + 1, std::min<qsizetype>(2, bytes.size() - at - 1));
            if (escape == "(B" || escape == "(J") {
                mode = Mode::Ascii;
            } else if (escape == "$B" || escape == "$@") {
                mode = Mode::Kanji;
            } else if (escape == "(I") {
                mode = Mode::Katakana;
            } else {
                out.bad();
                ++at;
                continue;
            }
            at += 3;
        } else if (byte >= 0x80) {
            out.bad();
            ++at;
        } else if (mode == Mode::Kanji && inRange(byte, 0x21, 0x7E)) {
            if (at + 1 < bytes.size() && inRange(uchar(bytes[at + 1]), 0x21, 0x7E)) {
                appendJisAsCp932(out.run, byte, uchar(bytes[at + 1]));
                at += 2;
            } else {
                out.bad();
                ++at;
            }
        } else if (mode == Mode::Katakana && inRange(byte, 0x21, 0x5F)) {
            out.run += char(byte + 0x80);
            ++at;
        } else {
            out.run += char(byte);
            ++at;
        }
    }
    return out.finish();
}

QString decodeEucJp(QByteArrayView bytes) {
    Cp932Text out;
    qsizetype at = 0;
    while (at < bytes.size()) {
        const auto byte = uchar(bytes[at]);
        const auto next = at + 1 < bytes.size() ? uchar(bytes[at + 1]) : uchar(0);
        if (byte < 0x80) {
            out.run += char(byte);
            ++at;
        } else if (byte == 0x8E && inRange(next, 0xA1, 0xDF)) {
            out.run += char(next); // half-width katakana
            at += 2;
        } else if (inRange(byte, 0xA1, 0xFE) && inRange(next, 0xA1, 0xFE)) {
            appendJisAsCp932(out.run, byte & 0x7F, next & 0x7F);
            at += 2;
        } else {
            // Also JIS X 0212 (0x8F and two bytes), which CP932 cannot show.
            out.bad();
            at += byte == 0x8F && at + 2 < bytes.size() && inRange(next, 0xA1, 0xFE) ? 3 : 1;
        }
    }
    return out.finish();
}

QString decodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

// Raw 8-bit text names no character set: the reading with the fewest
// undecodable bytes, UTF-8 before EUC-JP before CP932 on a tie.
QString decodeGuessed(QByteArrayView bytes) {
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; })) {
        return bytes.contains('\x1b') ? decodeIso2022Jp(bytes) : QString::fromLatin1(bytes);
    }
    QString best;
    qsizetype fewest = bytes.size() + 1;
    for (const auto decode : {decodeUtf8, decodeEucJp, Cp932::decode}) {
        QString text = decode(bytes);
        const qsizetype undecodable = text.count(Replacement);
        if (undecodable < fewest) {
            fewest = undecodable;
            best = std::move(text);
        }
    }
    return best;
}

// Q encoding: "_" is a blank, "=XX" a byte; an "=" without two hex digits stays.
QByteArray decodeQ(QByteArrayView text) {
    QByteArray bytes;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '_') {
            bytes += ' ';
        } else if (c == '=' && at + 2 < text.size() && std::isxdigit(uchar(text[at + 1])) &&
                   std::isxdigit(uchar(text[at + 2]))) {
            bytes += char(QByteArray::fromHex(text.sliced(at + 1, 2).toByteArray()).at(0));
            at += 2;
        } else {
            bytes += c;
        }
    }
    return bytes;
}

struct EncodedWord {
    QByteArray charset;
    QByteArray bytes;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads "=?charset?B|Q?text?=" at the position: the end of the word, or -1.
qsizetype readEncodedWord(const QByteArray& value, qsizetype at, EncodedWord& word) {
    if (!QByteArrayView(value).sliced(at).startsWith("=?")) {
        return -1;
    }
    const qsizetype limit = std::min(value.size(), at + maxEncodedWordLength);
    const qsizetype charsetEnd = value.indexOf('?', at + 2);
    if (charsetEnd < 0 || charsetEnd + 2 >= limit || value[charsetEnd + 2] != '?') {
        return -1;
    }
    const char encoding = char(std::toupper(uchar(value[charsetEnd + 1])));
    const qsizetype textEnd = value.indexOf("?=", charsetEnd + 3);
    if (charsetEnd == at + 2 || textEnd < 0 || textEnd + 2 > limit ||
        (encoding != 'B' && encoding != 'Q')) {
        return -1;
    }
    const QByteArrayView charset = QByteArrayView(value).sliced(at + 2, charsetEnd - at - 2);
    const QByteArrayView text =
        QByteArrayView(value).sliced(charsetEnd + 3, textEnd - charsetEnd - 3);
    if (std::any_of(charset.begin(), charset.end(), isBlank) ||
        std::any_of(text.begin(), text.end(), isBlank)) {
        return -1;
    }
    // RFC 2231 lets a language follow the charset: "ISO-2022-JP*ja".
    const qsizetype language = charset.indexOf('*');
    word.charset = (language < 0 ? charset : charset.first(language)).toByteArray();
    word.bytes = encoding == 'B' ? QByteArray::fromBase64(text.toByteArray()) : decodeQ(text);
    return textEnd + 2;
}

// Blanks and line breaks as one blank, controls as U+FFFD, no blank at either end.
QString cleaned(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const bool blank = c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
        if (blank) {
            if (!result.isEmpty() && !result.endsWith(u' ')) {
                result += u' ';
            }
        } else {
            result += c.category() == QChar::Other_Control || c.category() == QChar::Other_Surrogate
                          ? Replacement
                          : c;
        }
    }
    if (result.endsWith(u' ')) {
        result.chop(1);
    }
    return result;
}

} // namespace

QString HeaderText::decodeCharset(QByteArrayView bytes, QByteArrayView charset) {
    switch (charsetNamed(charset)) {
    case Charset::Utf8:
        return decodeUtf8(bytes);
    case Charset::Iso2022Jp:
        return decodeIso2022Jp(bytes);
    case Charset::Cp932:
        return Cp932::decode(bytes);
    case Charset::EucJp:
        return decodeEucJp(bytes);
    case Charset::Latin1:
        return QString::fromLatin1(bytes);
    case Charset::Guessed:
        break;
    }
    return decodeGuessed(bytes);
}

QString HeaderText::decode(QByteArrayView view) {
    const QByteArray value = view.toByteArray();
    QString text;
    QByteArray plain; // raw text since the last encoded word
    // Adjacent encoded words of one charset are decoded together.
    std::optional<QByteArray> charset;
    QByteArray joined;
    const auto decodeWords = [&] {
        if (charset) {
            text += decodeCharset(joined, *charset);
        }
        charset.reset();
        joined.clear();
    };
    qsizetype at = 0;
    while (at < value.size()) {
        EncodedWord word;
        const qsizetype end = value[at] == '=' ? readEncodedWord(value, at, word) : -1;
        if (end < 0) {
            plain += value[at++];
            continue;
        }
        // Blanks between two encoded words are not part of the text.
        if (charset && std::all_of(plain.cbegin(), plain.cend(), isBlank)) {
            plain.clear();
        }
        if (!plain.isEmpty() || (charset && charset->toLower() != word.charset.toLower())) {
            decodeWords();
            text += decodeGuessed(plain);
            plain.clear();
        }
        charset = word.charset;
        joined += word.bytes;
        at = end;
    }
    decodeWords();
    text += decodeGuessed(plain);
    return cleaned(text);
}

} // namespace brindle
