#include "mail/imap/ImapReplyReader.h"
#include "mail/net/SessionTexts.h"

#include "mail/net/DropTakenInput.h"

#include <algorithm>
#include <cstring>

namespace brindle {

namespace {

// Digits of a literal's size; more would overflow the limits anyway.
constexpr qsizetype maxLiteralDigits = 10;

QByteArray withoutLineEnd(const char* line, qsizetype length) {
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) {
        --length;
    }
    return QByteArray(line, length);
}

// A tag is an atom: printable ASCII without blanks, list, quote or literal
// characters, and never "+" or "*" (those start the other kinds).
bool isTag(const QByteArray& tag) {
    return !tag.isEmpty() && std::all_of(tag.cbegin(), tag.cend(), [](char c) {
        return c > ' ' && c < 0x7f && !std::strchr("(){%*\"\\]+", c);
    });
}

} // namespace

ImapReplyReader::ImapReplyReader(const Limits& limits) : limits_(limits) {}

void ImapReplyReader::feed(const char* data, qsizetype size) {
    input_.append(data, size);
}

ImapReplyReader::Result ImapReplyReader::take(ImapResponse& response) {
    if (failed_) {
        return Result::Error;
    }
    if (!readParts()) {
        return failed_ ? Result::Error : Result::NeedMore;
    }
    const bool framed = finishResponse(response);
    partial_ = {};
    partialSize_ = 0;
    return framed ? Result::Done : failWith(tr("サーバーの応答が IMAP の形式ではありません"));
}

bool ImapReplyReader::readParts() {
    for (;;) {
        if (literalLeft_ >= 0) {
            // A literal is taken whole; its size is bounded by maxLiteralSize.
            if (input_.size() - position_ < literalLeft_) {
                return false;
            }
            partial_.literals.append(input_.mid(position_, literalLeft_));
            position_ += literalLeft_;
            literalLeft_ = -1;
            dropTakenInput(input_, position_);
        }
        const qsizetype available = input_.size() - position_;
        const qsizetype searched = std::min(available, limits_.maxLineLength);
        const void* newline = std::memchr(input_.constData() + position_, '\n', size_t(searched));
        if (newline == nullptr) {
            if (available >= limits_.maxLineLength) {
                failWith(SessionTexts::replyLineTooLong());
            }
            return false;
        }
        const qsizetype end = static_cast<const char*>(newline) - input_.constData() + 1;
        const QByteArray line = withoutLineEnd(input_.constData() + position_, end - position_);
        position_ = end;
        dropTakenInput(input_, position_);
        partial_.text += line;
        const qint64 literal = announcedLiteral(line);
        partialSize_ += line.size() + std::max<qint64>(literal, 0);
        if (literal > limits_.maxLiteralSize || partialSize_ > limits_.maxResponseSize) {
            const qsizetype limit =
                literal > limits_.maxLiteralSize ? limits_.maxLiteralSize : limits_.maxResponseSize;
            failWith(SessionTexts::replyOverLimit(limit));
            return false;
        }
        if (literal < 0) {
            return true;
        }
        literalLeft_ = literal;
    }
}

qint64 ImapReplyReader::announcedLiteral(const QByteArray& line) {
    if (!line.endsWith('}')) {
        return -1;
    }
    const qsizetype open = line.lastIndexOf('{');
    const qsizetype digits = line.size() - open - 2;
    if (open < 0 || digits < 1 || digits > maxLiteralDigits) {
        return -1;
    }
    const QByteArray number = line.mid(open + 1, digits);
    if (!std::all_of(number.cbegin(), number.cend(), [](char c) { return c >= '0' && c <= '9'; })) {
        return -1;
    }
    return number.toLongLong();
}

bool ImapReplyReader::finishResponse(ImapResponse& response) {
    const QByteArray& raw = partial_.text;
    response.literals = partial_.literals;
    response.tag.clear();
    if (raw.startsWith("* ")) {
        response.kind = ImapResponse::Kind::Untagged;
        response.text = raw.mid(2);
        return true;
    }
    if (raw == "+" || raw.startsWith("+ ")) {
        response.kind = ImapResponse::Kind::Continuation;
        response.text = raw.mid(2);
        return true;
    }
    const qsizetype blank = raw.indexOf(' ');
    response.kind = ImapResponse::Kind::Tagged;
    response.tag = raw.left(blank);
    response.text = raw.mid(blank + 1);
    return blank > 0 && isTag(response.tag) && !response.text.isEmpty();
}

ImapReplyReader::Result ImapReplyReader::failWith(const QString& text) {
    failed_ = true;
    errorText_ = text;
    return Result::Error;
}

} // namespace brindle
