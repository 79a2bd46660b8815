#pragma once

#include <QString>

namespace brindle {

// Command channel of the sound player: named slots driven by command strings
// ("open \"<file>\" alias bgm", "play bgm", "play bgm from 0", "stop bgm",
// "close bgm", "status bgm mode").
class MediaControl {
public:
    virtual ~MediaControl() = default;
    // Returns 0 on success and a non-zero error code otherwise. Status commands
    // put their answer ("playing", "stopped") into reply when it is given.
    virtual int mciSendString(const QString& command, QString* reply = nullptr) = 0;
};

} // namespace brindle
