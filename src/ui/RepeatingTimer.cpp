#include "ui/RepeatingTimer.h"

namespace brindle {

RepeatingTimer::RepeatingTimer(int interval, QObject* parent)
    : QObject(parent), interval_(interval) {
    connect(&timer_, &QTimer::timeout, this, &RepeatingTimer::tick);
    rearm();
}

void RepeatingTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    rearm();
}

void RepeatingTimer::setEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    rearm();
}

void RepeatingTimer::rearm() {
    if (enabled_ && interval_ > 0) {
        timer_.start(interval_);
    } else {
        timer_.stop();
    }
}

void RepeatingTimer::tick() {
    if (inTick_) {
        return;
    }
    inTick_ = true;
    emit ticked();
    inTick_ = false;
}

} // namespace brindle
