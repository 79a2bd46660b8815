#include "mail/pop3/Pop3ReplyReader.h"
#include "mail/net/SessionTexts.h"

#include "mail/net/DropTakenInput.h"

#include <cstring>

namespace brindle {

namespace {

QByteArray withoutLineEnd(const char* line, qsizetype length) {
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) {
        --length;
    }
    return QByteArray(line, length);
}

bool isLoneDot(const char* line, qsizetype length) {
    return (length == 2 && line[1] == '\n') || (length == 3 && line[1] == '\r' && line[2] == '\n');
}

// "+OK" or "-ERR" followed by a blank or nothing; returns the length of the
// indicator, or 0 when the line starts with neither.
qsizetype indicatorLength(const QByteArray& line, bool& ok) {
    for (const auto& [indicator, isOk] : {std::pair{"+OK", true}, std::pair{"-ERR", false}}) {
        const qsizetype length = qsizetype(std::strlen(indicator));
        if (line.startsWith(indicator) && (line.size() == length || line.at(length) == ' ')) {
            ok = isOk;
            return length;
        }
    }
    return 0;
}

} // namespace

Pop3ReplyReader::Pop3ReplyReader(qsizetype maxLineLength) : maxLineLength_(maxLineLength) {}

void Pop3ReplyReader::feed(const char* data, qsizetype size) {
    input_.append(data, size);
}

Pop3ReplyReader::Result Pop3ReplyReader::takeStatusLine(StatusLine& line) {
    const qsizetype end = nextLineEnd();
    if (end < 0) {
        return failed_ ? Result::Error : Result::NeedMore;
    }
    const QByteArray text = withoutLineEnd(input_.constData() + position_, end - position_);
    position_ = end;
    dropTakenInput(input_, position_);
    line.challenge = text == "+" || text.startsWith("+ ");
    line.ok = false;
    const qsizetype indicator = line.challenge ? 1 : indicatorLength(text, line.ok);
    if (indicator == 0) {
        failed_ = true;
        errorText_ = tr("サーバーの応答が POP3 の形式ではありません");
        return Result::Error;
    }
    line.text = text.mid(indicator).trimmed();
    return Result::Done;
}

Pop3ReplyReader::Result Pop3ReplyReader::takeBody(QByteArray& body, qint64 maxBodySize) {
    // Lines are copied in runs; a run ends where a stuffed dot has to be dropped.
    qsizetype runStart = position_;
    const auto appendRun = [&](qsizetype runEnd) {
        body.append(input_.constData() + runStart, runEnd - runStart);
    };
    for (;;) {
        if (body.size() + (position_ - runStart) > maxBodySize) {
            failed_ = true;
            errorText_ = SessionTexts::replyOverLimit(maxBodySize);
            return Result::Error;
        }
        const qsizetype end = nextLineEnd();
        if (end < 0) {
            appendRun(position_);
            dropTakenInput(input_, position_);
            return failed_ ? Result::Error : Result::NeedMore;
        }
        const char* line = input_.constData() + position_;
        if (line[0] == '.') {
            appendRun(position_);
            if (isLoneDot(line, end - position_)) {
                position_ = end;
                dropTakenInput(input_, position_);
                return Result::Done;
            }
            runStart = position_ + 1;
        }
        position_ = end;
    }
}

qsizetype Pop3ReplyReader::nextLineEnd() {
    if (failed_) {
        return -1;
    }
    const qsizetype available = input_.size() - position_;
    const qsizetype searched = std::min(available, maxLineLength_);
    const void* newline = std::memchr(input_.constData() + position_, '\n', size_t(searched));
    if (newline != nullptr) {
        return static_cast<const char*>(newline) - input_.constData() + 1;
    }
    if (available >= maxLineLength_) {
        failed_ = true;
        errorText_ = SessionTexts::replyLineTooLong();
    }
    return -1;
}

} // namespace brindle
