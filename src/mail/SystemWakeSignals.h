#pragma once

#include "mail/WakeSignals.h"

#include <QDBusConnection>
#include <QDateTime>

namespace brindle {

// The machine's sleep from logind (PrepareForSleep) and the network from
// NetworkManager (StateChanged), on the system bus. Where neither runs,
// nothing is ever said.
class SystemWakeSignals : public WakeSignals {
    Q_OBJECT
public:
    explicit SystemWakeSignals(QDBusConnection bus, QObject* parent = nullptr);

private slots:
    void prepareForSleep(bool sleeping);
    void networkStateChanged(uint state);

private:
    // The wall clock goes on while the machine sleeps; the monotonic one does not.
    QDateTime asleepSince_;
    uint networkState_ = 0;
};

} // namespace brindle
