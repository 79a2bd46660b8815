#pragma once

#include <QObject>
#include <QSocketNotifier>

namespace brindle {

// Turns SIGTERM, SIGINT and SIGHUP (logout, `kill`, Ctrl-C) into a Qt signal
// on the window thread, so the program can end the way closing its window
// does, with the same saving.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    TerminationSignals();
    ~TerminationSignals() override;

signals:
    void requested();

private:
    void readPending();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace brindle
