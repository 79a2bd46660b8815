#include "mail/SystemWakeSignals.h"

#include <algorithm>

namespace brindle {

namespace {

// NM_STATE_CONNECTED_GLOBAL: the network reaches the internet.
constexpr uint NetworkConnectedGlobal = 70;

} // namespace

SystemWakeSignals::SystemWakeSignals(QDBusConnection bus, QObject* parent) : WakeSignals(parent) {
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
                this, SLOT(prepareForSleep(bool)));
    bus.connect(QStringLiteral("org.freedesktop.NetworkManager"),
                QStringLiteral("/org/freedesktop/NetworkManager"),
                QStringLiteral("org.freedesktop.NetworkManager"), QStringLiteral("StateChanged"),
                this, SLOT(networkStateChanged(uint)));
}

void SystemWakeSignals::prepareForSleep(bool sleeping) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (sleeping) {
        asleepSince_ = now;
        return;
    }
    const qint64 slept = asleepSince_.isValid() ? std::max<qint64>(asleepSince_.secsTo(now), 0) : 0;
    asleepSince_ = {};
    emit woke(slept);
}

void SystemWakeSignals::networkStateChanged(uint state) {
    const uint before = std::exchange(networkState_, state);
    if (state == NetworkConnectedGlobal && before != NetworkConnectedGlobal) {
        emit networkBack();
    }
}

} // namespace brindle
