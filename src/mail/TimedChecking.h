#pragma once

#include "ui/RepeatingTimer.h"

#include <QObject>
#include <functional>

namespace brindle {

// Checking every N minutes: a count of seconds and minutes that runs while
// the interval is on, and a poll that asks for a check when the minutes reach
// the interval. The poll only runs while a reach waits for its check: it is
// armed when the count or the interval changes, and keeps looking while a
// check under way holds the reach back.
class TimedChecking : public QObject {
    Q_OBJECT
public:
    // checkRunning tells whether a mail check is under way.
    explicit TimedChecking(std::function<bool()> checkRunning, QObject* parent = nullptr);

    // The interval in whole minutes: above 0 switches counting on, 0 switches
    // it off, and a negative value leaves it as it is (and never checks).
    void setInterval(int minutes);
    int interval() const { return interval_; }

    // One second of counting.
    void countSecond();
    // Asks for a check once per reach of the interval; a poll that falls inside
    // a running check leaves the reach for the next poll.
    void poll();
    // Counts time the machine slept, which the seconds' timer missed: a
    // check that came due meanwhile is asked for at once.
    void countSleep(qint64 seconds);

    const RepeatingTimer& countTimer() const { return countTimer_; }
    const RepeatingTimer& pollTimer() const { return pollTimer_; }

    // Minutes and seconds counted since the last reach of the interval.
    struct Count {
        int minutes = 0;
        int seconds = 0;
    };
    Count count;

signals:
    void checkDue();
    void switched(bool on);

private:
    // The minutes stand at the interval and no check has been asked for yet.
    bool reachWaits() const;
    void armPoll() { pollTimer_.setEnabled(reachWaits()); }

    std::function<bool()> checkRunning_;
    int interval_ = 0;
    // Whether the poll already asked for the check of the current reach.
    bool reachChecked_ = false;
    RepeatingTimer countTimer_{0};
    RepeatingTimer pollTimer_{100};
};

} // namespace brindle
