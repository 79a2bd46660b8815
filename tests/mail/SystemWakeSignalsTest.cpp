#include "mail/SystemWakeSignals.h"
#include "support/PrivateBus.h"

#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// Stand-ins for logind and NetworkManager on a private system bus: their
// signals reach the program as a wake, with the time slept, and as the
// network back (once per return to full connectivity).
TEST(SystemWakeSignals, TellOfWakingAndOfTheNetworkComingBack) {
    PrivateBus bus;
    SystemWakeSignals wake(bus.connection());
    QSignalSpy woke(&wake, &WakeSignals::woke);
    QSignalSpy back(&wake, &WakeSignals::networkBack);
    QDBusConnection standIns =
        QDBusConnection::connectToBus(bus.address(), QStringLiteral("stand-ins"));
    ASSERT_TRUE(standIns.registerService(QStringLiteral("org.freedesktop.login1")));
    ASSERT_TRUE(standIns.registerService(QStringLiteral("org.freedesktop.NetworkManager")));
    const auto say = [&](const char* path, const char* interface, const char* name,
                         const QVariant& value) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QLatin1String(path), QLatin1String(interface), QLatin1String(name));
        signal << value;
        ASSERT_TRUE(standIns.send(signal));
    };
    const auto sleep = [&](bool sleeping) {
        say("/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep",
            sleeping);
    };
    const auto network = [&](uint state) {
        say("/org/freedesktop/NetworkManager", "org.freedesktop.NetworkManager", "StateChanged",
            state);
    };
    QTest::qWait(200); // the program learns who owns the names

    sleep(true);
    QTest::qWait(1100);
    sleep(false);
    network(20); // disconnected
    network(70); // connected to the internet
    network(70);

    ASSERT_TRUE(QTest::qWaitFor([&] { return woke.size() == 1 && back.size() == 1; }, 5000));
    EXPECT_GE(woke.at(0).at(0).toLongLong(), 1);
    QTest::qWait(200);
    EXPECT_EQ(back.size(), 1);
    QDBusConnection::disconnectFromBus(QStringLiteral("stand-ins"));
}

} // namespace
} // namespace brindle::test
