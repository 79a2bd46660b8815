#include "presentation/scene/SceneMessageReader.h"

#include <QList>
#include <optional>
#include <utility>

namespace brindle {

namespace {

// A file of this machine by its absolute path, and nothing more.
std::optional<QUrl> localPage(const QByteArray& field) {
    const QUrl page = QUrl::fromEncoded(field, QUrl::StrictMode);
    if (!page.isValid() || !page.isLocalFile() || !page.host().isEmpty() || page.hasQuery() ||
        page.hasFragment() || !page.path().startsWith(QLatin1Char('/'))) {
        return std::nullopt;
    }
    return page;
}

// Decimal digits only, from 1 to the largest side.
std::optional<int> pictureSide(const QByteArray& field) {
    if (field.isEmpty() || field.size() > 4) {
        return std::nullopt;
    }
    for (const char digit : field) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
    }
    const int side = field.toInt();
    if (side < 1 || side > SceneMessage::MostPictureSide) {
        return std::nullopt;
    }
    return side;
}

std::optional<SceneMessage> parseLine(const QByteArray& line) {
    const QList<QByteArray> fields = line.split(' ');
    const std::optional<QUrl> page = fields.size() > 1 ? localPage(fields[1]) : std::nullopt;
    if (!page) {
        return std::nullopt;
    }
    SceneMessage message;
    message.page = *page;
    const QByteArray& word = fields[0];
    if (word == "show" && fields.size() == 3) {
        message.kind = SceneMessage::Kind::Show;
        message.title = QString::fromUtf8(QByteArray::fromPercentEncoding(fields[2]));
    } else if (word == "draw" && fields.size() == 2) {
        message.kind = SceneMessage::Kind::Draw;
    } else if (word == "shown" && fields.size() == 2) {
        message.kind = SceneMessage::Kind::Shown;
    } else if (word == "picture" && fields.size() == 4) {
        const std::optional<int> width = pictureSide(fields[2]);
        const std::optional<int> height = pictureSide(fields[3]);
        if (!width || !height) {
            return std::nullopt;
        }
        message.kind = SceneMessage::Kind::Picture;
        message.size = QSize(*width, *height);
    } else {
        return std::nullopt;
    }
    return message;
}

} // namespace

void SceneMessageReader::feed(const QByteArray& bytes) {
    if (!broken_) {
        input_ += bytes;
    }
}

SceneMessageReader::Result SceneMessageReader::take(SceneMessage& message) {
    if (broken_) {
        return Result::Broken;
    }
    if (!awaitingPixels_) {
        const Result line = takeLine();
        if (line != Result::Taken) {
            return line;
        }
        awaitingPixels_ = pending_.kind == SceneMessage::Kind::Picture;
    }
    if (awaitingPixels_) {
        const qsizetype length = qsizetype(pending_.size.width()) * pending_.size.height() * 4;
        if (input_.size() < length) {
            return Result::NeedMore;
        }
        pending_.pixels = input_.left(length);
        input_.remove(0, length);
        awaitingPixels_ = false;
    }
    message = std::exchange(pending_, SceneMessage());
    return Result::Taken;
}

SceneMessageReader::Result SceneMessageReader::takeLine() {
    const qsizetype end = input_.indexOf('\n');
    if (end < 0 && input_.size() <= MostLineLength) {
        return Result::NeedMore;
    }
    std::optional<SceneMessage> parsed;
    if (end >= 0 && end <= MostLineLength) {
        parsed = parseLine(input_.left(end));
    }
    if (!parsed) {
        broken_ = true;
        input_.clear();
        return Result::Broken;
    }
    input_.remove(0, end + 1);
    pending_ = *parsed;
    return Result::Taken;
}

} // namespace brindle
