#include "ui/RepeatingTimer.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace brindle {
namespace {

TEST(RepeatingTimer, AnIntervalOfZeroNeverTicksUntilOneIsGiven) {
    RepeatingTimer timer(0);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_FALSE(timer.isTicking());
    timer.setInterval(1000);
    EXPECT_TRUE(timer.isTicking());
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isTicking());
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isTicking());
    timer.setInterval(0);
    EXPECT_FALSE(timer.isTicking());
}

TEST(RepeatingTimer, ATickNeverStartsInsideTheSameTimersRunningTick) {
    RepeatingTimer timer(5);
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    QObject::connect(&timer, &RepeatingTimer::ticked, [&] {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        if (ticks == 1) {
            // Let events run long enough for several more ticks to fall due.
            QEventLoop loop;
            QTimer::singleShot(60, &loop, &QEventLoop::quit);
            loop.exec();
        }
        --depth;
    });
    QEventLoop outer;
    QTimer::singleShot(150, &outer, &QEventLoop::quit);
    outer.exec();
    EXPECT_EQ(deepest, 1);
    EXPECT_GT(ticks, 1);
}

} // namespace
} // namespace brindle
