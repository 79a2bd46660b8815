#include "shell/FormTimer.h"

namespace brindle {

FormTimer::FormTimer(int interval, QObject* parent) : QObject(parent), interval_(interval) {
    connect(&timer_, &QTimer::timeout, this, &FormTimer::tick);
    rearm();
}

void FormTimer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    rearm();
}

void FormTimer::setEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    rearm();
}

void FormTimer::rearm() {
    if (enabled_ && interval_ > 0) {
        timer_.start(interval_);
    } else {
        timer_.stop();
    }
}

void FormTimer::tick() {
    if (inTick_) {
        return;
    }
    inTick_ = true;
    emit Timer();
    inTick_ = false;
}

} // namespace brindle
