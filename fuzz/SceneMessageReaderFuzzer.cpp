// Reads a stream of scene messages twice, fed whole and fed in pieces, and
// checks that both give the same messages: framing must not depend on how the
// bytes arrive. Every message taken keeps the limits (a local page, a picture's
// pixels as many as its size says, within the largest side) and reads back the
// same once written again.
#include "presentation/scene/SceneMessageReader.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

using brindle::SceneMessage;
using brindle::SceneMessageReader;

namespace {

struct Taken {
    SceneMessage::Kind kind;
    QUrl page;
    QString title;
    QSize size;
    QByteArray pixels;
    bool operator==(const Taken&) const = default;
};

Taken taken(const SceneMessage& message) {
    return {message.kind, message.page, message.title, message.size, message.pixels};
}

void checkLimits(const SceneMessage& message) {
    const bool picture = message.kind == SceneMessage::Kind::Picture;
    const qsizetype pixels =
        picture ? qsizetype(message.size.width()) * message.size.height() * 4 : 0;
    if (!message.page.isLocalFile() || message.pixels.size() != pixels ||
        message.size.width() > SceneMessage::MostPictureSide ||
        message.size.height() > SceneMessage::MostPictureSide) {
        std::abort();
    }
    SceneMessageReader again;
    again.feed(message.toBytes());
    SceneMessage read;
    if (again.take(read) != SceneMessageReader::Result::Taken || !(taken(read) == taken(message))) {
        std::abort();
    }
}

std::vector<Taken> read(const std::string& stream, const std::string& pieces, bool inPieces) {
    SceneMessageReader reader;
    std::vector<Taken> messages;
    std::size_t fed = 0;
    std::size_t piece = 0;
    while (fed < stream.size()) {
        const unsigned char step =
            pieces.empty() ? 0 : static_cast<unsigned char>(pieces[piece++ % pieces.size()]);
        const std::size_t size =
            inPieces ? std::min<std::size_t>(stream.size() - fed, 1 + step) : stream.size();
        reader.feed(QByteArray(stream.data() + fed, qsizetype(size)));
        fed += size;
        SceneMessage message;
        SceneMessageReader::Result result;
        while ((result = reader.take(message)) == SceneMessageReader::Result::Taken) {
            checkLimits(message);
            messages.push_back(taken(message));
        }
        if (result == SceneMessageReader::Result::Broken) {
            break;
        }
    }
    return messages;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string pieces = input.ConsumeRandomLengthString(16);
    const std::string stream = input.ConsumeRemainingBytesAsString();
    if (read(stream, pieces, false) != read(stream, pieces, true)) {
        std::abort();
    }
    return 0;
}
