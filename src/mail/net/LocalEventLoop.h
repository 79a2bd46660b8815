#pragma once

#include <QCoreApplication>
#include <QEventLoop>

namespace brindle {

// Runs the local event loop until the condition holds. While the application is
// quitting, QEventLoop::exec returns at once; the events are then handled one
// sleep at a time instead, so a wait never spins and its timers still fire.
template <typename Condition> void runEventLoopUntil(QEventLoop& loop, Condition finished) {
    if (!finished()) {
        loop.exec();
    }
    while (!finished()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace brindle
