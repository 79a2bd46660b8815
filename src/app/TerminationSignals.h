#pragma once

#include <QObject>
#include <QSocketNotifier>

namespace brindle {

// Turns SIGTERM, SIGINT and SIGHUP (logout, `kill`, Ctrl-C) into a Qt signal
// on the window thread, so the program can end the way closing its window
// does, with the same saving. The handlers are installed at construction, so
// a signal that comes while the windows are still being built is kept and
// delivered once `deliver()` has been called.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    TerminationSignals();
    ~TerminationSignals() override;

    // Starts emitting `requested`, also for signals that came before.
    void deliver();

signals:
    void requested();

private:
    void readPending();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace brindle
