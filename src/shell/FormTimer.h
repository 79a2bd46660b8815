#pragma once

#include <QObject>
#include <QTimer>

namespace brindle {

// A window timer as the forms know it: it ticks every Interval milliseconds
// while Enabled, an Interval of 0 never ticks, and a tick never starts while
// the same timer's previous tick is still running (a tick that falls due then
// is dropped).
class FormTimer : public QObject {
    Q_OBJECT
public:
    FormTimer(int interval, QObject* parent = nullptr);

    int Interval() const { return interval_; }
    void setInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // Whether the timer would tick: enabled with a positive interval.
    bool isTicking() const { return timer_.isActive(); }

signals:
    void Timer();

private:
    void rearm();
    void tick();

    QTimer timer_;
    int interval_;
    bool enabled_ = true;
    bool inTick_ = false;
};

} // namespace brindle
