#pragma once

#include "presentation/scene/SceneMessage.h"

#include <QByteArray>

namespace brindle {

// Takes the scene messages out of the bytes read from the pipe, in whatever
// pieces they arrive. It holds at most one line and one picture's pixels; a
// longer line, an unknown or malformed message, a page that is not a local
// file by its absolute path or a picture larger than the largest side breaks the stream for good.
class SceneMessageReader {
public:
    enum class Result { Taken, NeedMore, Broken };

    static constexpr qsizetype MostLineLength = 4096;

    void feed(const QByteArray& bytes);
    Result take(SceneMessage& message);

private:
    Result takeLine();

    QByteArray input_;
    bool broken_ = false;
    // A picture's line has been read; its pixels are awaited.
    bool awaitingPixels_ = false;
    SceneMessage pending_;
};

} // namespace brindle
