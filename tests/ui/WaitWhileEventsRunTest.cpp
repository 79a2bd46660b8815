#include "ui/WaitWhileEventsRun.h"
#include "support/FakePlatform.h"
#include "ui/QtEventPump.h"
#include "ui/SteadyClock.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

class WaitWhileEventsRunTest : public ::testing::Test {
protected:
    FakeClock clock;
    FakeEventPump events{clock};
};

TEST_F(WaitWhileEventsRunTest, ReturnsOnlyAfterMoreThanTheTimeAndRunsEventsThatFellDue) {
    clock.now = 5000;
    std::vector<std::int64_t> ranAt;
    events.at(700, [&] { ranAt.push_back(clock.now); });
    events.at(1900, [&] { ranAt.push_back(clock.now); });
    events.at(2000, [&] { ranAt.push_back(clock.now); }); // exactly the time: not yet over

    waitWhileEventsRun(2000, clock, events);

    EXPECT_GT(clock.now - 5000, 2000);
    EXPECT_EQ(ranAt, (std::vector<std::int64_t>{5700, 6900, 7000}));
    // Sleeps between rounds instead of polling: one sleep per event plus the last.
    EXPECT_LE(events.waits, 4);
}

TEST_F(WaitWhileEventsRunTest, ZeroOrNegativeStillLetsPendingEventsRunOnce) {
    for (int ms : {0, -5, std::numeric_limits<int>::min()}) {
        bool ran = false;
        events.at(0, [&] { ran = true; });
        const std::int64_t before = clock.now;
        waitWhileEventsRun(ms, clock, events);
        EXPECT_TRUE(ran) << ms;
        EXPECT_LE(clock.now - before, 1) << ms;
    }
}

TEST_F(WaitWhileEventsRunTest, AHandlerThatRunsLongerMakesTheWaitLonger) {
    events.at(100, [&] { clock.now += 3000; });
    const std::int64_t before = clock.now;
    waitWhileEventsRun(1000, clock, events);
    EXPECT_EQ(clock.now - before, 3100);
}

TEST(WaitWhileEventsRunOnTheEventLoop, TimerTicksRunInsideTheWait) {
    SteadyClock clock;
    QtEventPump events;
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    const std::int64_t start = clock.milliseconds();
    waitWhileEventsRun(150, clock, events);
    EXPECT_GT(clock.milliseconds() - start, 150);
    EXPECT_GE(ticks, 3);
}

// Once the application is quitting, every nested event loop returns at once; the
// wait must still sleep between its rounds instead of spinning.
TEST(WaitWhileEventsRunOnTheEventLoop, StillSleepsWhileTheApplicationIsQuitting) {
    struct CountingPump : QtEventPump {
        int waits = 0;
        void waitForEvents(std::uint32_t maxMilliseconds) override {
            ++waits;
            QtEventPump::waitForEvents(maxMilliseconds);
        }
    };
    SteadyClock clock;
    CountingPump events;
    QCoreApplication::exit(0);
    const std::int64_t start = clock.milliseconds();
    waitWhileEventsRun(300, clock, events);
    EXPECT_GT(clock.milliseconds() - start, 300);
    EXPECT_LE(events.waits, 30);
    // Leave the application able to run event loops again for the next tests.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
}

} // namespace
} // namespace brindle::test
