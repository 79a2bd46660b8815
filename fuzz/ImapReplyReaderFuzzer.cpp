// Frames an IMAP response stream twice, fed whole and fed in pieces, and checks
// that both give the same responses: framing must not depend on how the bytes
// arrive. Also checks the limits: no line, literal or response beyond its
// maximum, and no line end in a response's text.
#include "mail/imap/ImapReplyReader.h"

#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

using brindle::ImapReplyReader;
using brindle::ImapResponse;

namespace {

struct Taken {
    ImapReplyReader::Result result = ImapReplyReader::Result::NeedMore;
    ImapResponse::Kind kind = ImapResponse::Kind::Untagged;
    QByteArray tag;
    QByteArray text;
    QList<QByteArray> literals;
    bool operator==(const Taken&) const = default;
};

// At most this many responses per input, so one input stays quick.
constexpr int maxResponses = 64;

void checkLimits(const ImapResponse& response, const ImapReplyReader::Limits& limits) {
    qsizetype size = response.text.size();
    for (const QByteArray& literal : response.literals) {
        if (literal.size() > limits.maxLiteralSize) {
            std::abort();
        }
        size += literal.size();
    }
    if (size > limits.maxResponseSize || response.text.contains('\n') ||
        (response.kind == ImapResponse::Kind::Tagged && response.tag.isEmpty())) {
        std::abort();
    }
}

std::vector<Taken> frame(const ImapReplyReader::Limits& limits, const std::string& stream,
                         qsizetype pieceSize) {
    ImapReplyReader reader(limits);
    qsizetype fed = 0;
    std::vector<Taken> taken;
    while (taken.size() < maxResponses) {
        ImapResponse response;
        Taken one;
        one.result = reader.take(response);
        if (one.result == ImapReplyReader::Result::NeedMore) {
            const qsizetype left = qsizetype(stream.size()) - fed;
            if (left == 0) {
                break;
            }
            const qsizetype size = std::min(left, pieceSize);
            reader.feed(stream.data() + fed, size);
            fed += size;
            continue;
        }
        if (one.result == ImapReplyReader::Result::Done) {
            checkLimits(response, limits);
            one.kind = response.kind;
            one.tag = response.tag;
            one.text = response.text;
            one.literals = response.literals;
        }
        taken.push_back(one);
        if (one.result == ImapReplyReader::Result::Error) {
            break;
        }
    }
    return taken;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    ImapReplyReader::Limits limits;
    limits.maxLineLength = input.ConsumeIntegralInRange<qsizetype>(1, 512);
    limits.maxLiteralSize = input.ConsumeIntegralInRange<qsizetype>(0, 512);
    limits.maxResponseSize = input.ConsumeIntegralInRange<qsizetype>(1, 2048);
    const qsizetype pieceSize = input.ConsumeIntegralInRange<qsizetype>(1, 64);
    const std::string stream = input.ConsumeRemainingBytesAsString();
    if (frame(limits, stream, qsizetype(stream.size()) + 1) != frame(limits, stream, pieceSize)) {
        std::abort();
    }
    return 0;
}
