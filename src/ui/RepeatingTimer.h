#pragma once

#include <QObject>
#include <QTimer>

namespace brindle {

// A timer of the windows: it ticks every interval() milliseconds while
// enabled, an interval of 0 never ticks, and a tick never starts while
// the same timer's previous tick is still running (a tick that falls due then
// is dropped).
class RepeatingTimer : public QObject {
    Q_OBJECT
public:
    RepeatingTimer(int interval, QObject* parent = nullptr);

    int interval() const { return interval_; }
    void setInterval(int milliseconds);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Whether the timer would tick: enabled with a positive interval.
    bool isTicking() const { return timer_.isActive(); }

signals:
    void ticked();

private:
    void rearm();
    void tick();

    QTimer timer_;
    int interval_;
    bool enabled_ = true;
    bool inTick_ = false;
};

} // namespace brindle
