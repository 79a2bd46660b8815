// Decodes any bytes and encodes any text. Decoding never grows the text; bytes
// that decode cleanly can be split between characters and decoded in parts with
// the same result, and their text encodes again to bytes that read the same.
#include "settings/core/Cp932.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using brindle::Cp932;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const qsizetype splitAt = input.ConsumeIntegral<uint8_t>();
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes = QByteArray::fromStdString(rest);

    const QString text = Cp932::decode(bytes);
    if (text.size() > bytes.size()) {
        std::abort();
    }
    const qsizetype boundary = Cp932::characterBoundary(bytes, splitAt);
    if (boundary < 0 || boundary > std::min(splitAt, bytes.size())) {
        std::abort();
    }
    if (!text.contains(QChar::ReplacementCharacter)) {
        if (Cp932::decode(bytes.first(boundary)) + Cp932::decode(bytes.sliced(boundary)) != text) {
            std::abort();
        }
        const std::optional<QByteArray> encoded = Cp932::encode(text);
        if (!encoded || Cp932::decode(*encoded) != text) {
            std::abort();
        }
    }

    // The same bytes taken as UTF-16 text: what encodes at all comes back whole.
    const QString units(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2);
    const std::optional<QByteArray> encoded = Cp932::encode(units);
    if (encoded && (encoded->size() > 2 * units.size() || Cp932::decode(*encoded) != units)) {
        std::abort();
    }
    return 0;
}
