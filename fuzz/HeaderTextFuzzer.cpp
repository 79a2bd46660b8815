// Decodes any header value: the text is never longer than the bytes and holds
// no control character and no lone surrogate (it goes to D-Bus as UTF-8). Any
// valid text sent as two UTF-8 encoded words, cut anywhere, comes back whole.
#include "mail/header/HeaderText.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using brindle::HeaderText;

namespace {

bool isShowable(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c.isSurrogate() || c == u'\t') {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string charset = input.ConsumeRandomLengthString(16);
    const qsizetype cut = input.ConsumeIntegral<uint8_t>();
    const QByteArray bytes = QByteArray::fromStdString(input.ConsumeRemainingBytesAsString());

    const QString text = HeaderText::decode(bytes);
    if (text.size() > bytes.size() || !isShowable(text)) {
        std::abort();
    }
    const QString inCharset = HeaderText::decodeCharset(bytes, QByteArray::fromStdString(charset));
    if (inCharset.size() > bytes.size()) {
        std::abort();
    }

    // Words longer than RFC 2047's 75 characters are read up to 1024.
    const QString plain = QString::fromUtf8(bytes.first(std::min<qsizetype>(bytes.size(), 600)));
    if (plain.contains(QChar::ReplacementCharacter) || !isShowable(plain) ||
        plain.startsWith(u' ') || plain.endsWith(u' ') || plain.contains(QStringLiteral("  "))) {
        return 0;
    }
    const QByteArray utf8 = plain.toUtf8();
    const qsizetype at = std::min(cut, utf8.size());
    const QByteArray words = "=?UTF-8?B?" + utf8.first(at).toBase64() + "?=\r\n =?utf-8?B?" +
                             utf8.sliced(at).toBase64() + "?=";
    if (HeaderText::decode(words) != plain) {
        std::abort();
    }
    return 0;
}
