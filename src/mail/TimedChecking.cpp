#include "mail/TimedChecking.h"

namespace brindle {

TimedChecking::TimedChecking(std::function<bool()> checkRunning, QObject* parent)
    : QObject(parent), checkRunning_(std::move(checkRunning)) {
    connect(&countTimer_, &RepeatingTimer::ticked, this, &TimedChecking::countSecond);
    connect(&pollTimer_, &RepeatingTimer::ticked, this, &TimedChecking::poll);
    pollTimer_.setEnabled(false);
}

void TimedChecking::setInterval(int minutes) {
    interval_ = minutes;
    if (minutes > 0) {
        countTimer_.setInterval(1000);
        emit switched(true);
    } else if (minutes == 0) {
        countTimer_.setInterval(0);
        emit switched(false);
    }
    armPoll();
}

void TimedChecking::countSecond() {
    if (interval_ > 0 ? count.minutes >= interval_ : count.minutes == interval_) {
        count.minutes = 0;
        reachChecked_ = false;
    }
    if (++count.seconds >= 60) {
        count.seconds = 0;
        ++count.minutes;
        reachChecked_ = false;
    }
    armPoll();
}

void TimedChecking::countSleep(qint64 seconds) {
    if (interval_ <= 0 || seconds <= 0) {
        return;
    }
    const qint64 counted = qint64(count.minutes) * 60 + count.seconds + seconds;
    if (counted >= qint64(interval_) * 60) {
        count = {interval_, 0};
        reachChecked_ = false;
    } else {
        count = {int(counted / 60), int(counted % 60)};
    }
    armPoll();
}

void TimedChecking::poll() {
    if (!reachWaits()) {
        pollTimer_.setEnabled(false);
        return;
    }
    if (checkRunning_()) {
        return;
    }
    reachChecked_ = true;
    pollTimer_.setEnabled(false);
    emit checkDue();
}

bool TimedChecking::reachWaits() const {
    return interval_ > 0 && !reachChecked_ && count.minutes == interval_;
}

} // namespace brindle
