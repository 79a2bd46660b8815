// Frames a reply stream twice, fed whole and fed in pieces, and checks that both
// give the same replies: framing must not depend on how the bytes arrive. Also
// checks the limits: no body beyond its maximum, no line end in a status text.
#include "mail/pop3/Pop3ReplyReader.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

using brindle::Pop3ReplyReader;

namespace {

struct Taken {
    Pop3ReplyReader::Result result;
    bool ok = false;
    bool challenge = false;
    QByteArray text; // the status text or, once done, the body
    bool operator==(const Taken&) const = default;
};

struct Script {
    qsizetype maxLineLength = 0;
    qint64 maxBodySize = 0;
    std::string steps; // per step: bit 0 chooses a body, the rest sizes the pieces
    std::string stream;
};

std::vector<Taken> frame(const Script& script, bool inPieces) {
    Pop3ReplyReader reader(script.maxLineLength);
    qsizetype fed = 0;
    qsizetype pieceSize = 0;
    const auto feedMore = [&] {
        const qsizetype left = qsizetype(script.stream.size()) - fed;
        if (left == 0) {
            return false;
        }
        const qsizetype size = inPieces ? std::min(left, pieceSize) : left;
        reader.feed(script.stream.data() + fed, size);
        fed += size;
        return true;
    };
    std::vector<Taken> taken;
    for (const unsigned char step : script.steps) {
        pieceSize = 1 + step / 2;
        Taken reply{};
        if (step & 1) {
            QByteArray body;
            while ((reply.result = reader.takeBody(body, script.maxBodySize)) ==
                       Pop3ReplyReader::Result::NeedMore &&
                   feedMore()) {
            }
            if (reply.result == Pop3ReplyReader::Result::Done) {
                if (body.size() > script.maxBodySize) {
                    std::abort();
                }
                reply.text = body;
            }
        } else {
            Pop3ReplyReader::StatusLine line;
            while ((reply.result = reader.takeStatusLine(line)) ==
                       Pop3ReplyReader::Result::NeedMore &&
                   feedMore()) {
            }
            if (reply.result == Pop3ReplyReader::Result::Done) {
                if (line.text.contains('\n') || line.text.size() > script.maxLineLength) {
                    std::abort();
                }
                if (line.challenge && line.ok) {
                    std::abort();
                }
                reply.ok = line.ok;
                reply.challenge = line.challenge;
                reply.text = line.text;
            }
        }
        taken.push_back(reply);
        if (reply.result != Pop3ReplyReader::Result::Done) {
            break;
        }
    }
    return taken;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    Script script;
    script.maxLineLength = input.ConsumeIntegralInRange<qsizetype>(1, 512);
    script.maxBodySize = input.ConsumeIntegralInRange<qint64>(0, 4096);
    script.steps = input.ConsumeRandomLengthString(16);
    script.stream = input.ConsumeRemainingBytesAsString();
    if (frame(script, false) != frame(script, true)) {
        std::abort();
    }
    return 0;
}
