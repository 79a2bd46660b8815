#pragma once

#include "settings/core/ProgramFiles.h"
#include "ui/RepeatingTimer.h"

#include <QObject>
#include <functional>

class QLabel;

namespace brindle {

// The lamp in the title strip: steady green while timed checking is off,
// green then red every few seconds while it is on.
class StatusLamp : public QObject {
    Q_OBJECT
public:
    // wait lets window events run for the given milliseconds.
    StatusLamp(QLabel& lamp, ProgramFiles files, std::function<void(int)> wait,
               QObject* parent = nullptr);

    void setIntervalOn(bool on) { intervalOn_ = on; }
    // One beat of the lamp.
    void blink();
    // While the window cannot be seen the lamp keeps its picture; seen again,
    // it beats on within a second.
    void setSeen(bool seen) { beatTimer_.setEnabled(seen); }

    const RepeatingTimer& beatTimer() const { return beatTimer_; }

private:
    // Loads the picture anew; a missing or unreadable file keeps the picture shown.
    void showPicture(const QString& backslashSuffix);

    QLabel& lamp_;
    ProgramFiles files_;
    std::function<void(int)> wait_;
    bool intervalOn_ = false;
    RepeatingTimer beatTimer_{1000};
};

} // namespace brindle
