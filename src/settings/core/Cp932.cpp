#include "settings/core/Cp932.h"

#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace brindle {

namespace {

constexpr const char* CodePage = "CP932";
constexpr const char* Utf16 =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

// One conversion direction of iconv, closed when it goes out of scope.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (isOpen()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool isOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    // Converts as much as it can; returns false and sets errno where it stops.
    bool convert(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        // iconv never writes through its input pointer.
        char* input = const_cast<char*>(in);
        const bool done = iconv(handle_, &input, &inLeft, &out, &outLeft) != size_t(-1);
        in = input;
        return done;
    }

private:
    iconv_t handle_;
};

} // namespace

std::optional<QByteArray> Cp932::encode(const QString& text) {
    Converter converter(CodePage, Utf16);
    if (!converter.isOpen()) {
        return std::nullopt;
    }
    // Every UTF-16 unit becomes at most two bytes.
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    const char* in = reinterpret_cast<const char*>(text.utf16());
    size_t inLeft = size_t(text.size()) * 2;
    char* out = bytes.data();
    size_t outLeft = size_t(bytes.size());
    if (!converter.convert(in, inLeft, out, outLeft) || inLeft != 0) {
        return std::nullopt;
    }
    bytes.truncate(bytes.size() - qsizetype(outLeft));
    // Some characters have only a look-alike code (U+00A5 would be written as a
    // backslash); they do not come back as themselves and count as missing.
    if (decode(bytes) != text) {
        return std::nullopt;
    }
    return bytes;
}

QString Cp932::decode(QByteArrayView bytes) {
    Converter converter(Utf16, CodePage);
    if (!converter.isOpen()) {
        return QString(bytes.size(), QChar::ReplacementCharacter);
    }
    // Every byte becomes at most one UTF-16 unit.
    QString text(bytes.size(), Qt::Uninitialized);
    const char* in = bytes.data();
    size_t inLeft = size_t(bytes.size());
    char* out = reinterpret_cast<char*>(text.data());
    size_t outLeft = size_t(text.size()) * 2;
    while (inLeft > 0 && !converter.convert(in, inLeft, out, outLeft)) {
        if (outLeft < 2) {
            break; // not expected: the text has room for one unit per byte
        }
        // An invalid or cut-off character: mark it and go on after its first byte.
        *reinterpret_cast<char16_t*>(out) = QChar::ReplacementCharacter;
        out += 2;
        outLeft -= 2;
        if (errno != EILSEQ) {
            break; // EINVAL: the bytes end inside a character
        }
        ++in;
        --inLeft;
    }
    text.truncate(text.size() - qsizetype(outLeft / 2));
    return text;
}

bool Cp932::isLeadByte(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

qsizetype Cp932::characterBoundary(QByteArrayView bytes, qsizetype maxBytes) {
    qsizetype end = 0;
    while (end < bytes.size()) {
        const qsizetype next = end + (isLeadByte(bytes[end]) ? 2 : 1);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return std::min(end, bytes.size());
}

} // namespace brindle
