#include "ui/QtEventPump.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace brindle {

void QtEventPump::processPendingEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::waitForEvents(std::uint32_t maxMilliseconds) {
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(static_cast<int>(
        std::min<std::uint32_t>(maxMilliseconds, std::numeric_limits<int>::max())));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace brindle
