#include "settings/SettingsWindow.h"
#include "support/MainWindowFixture.h"

#include <QLineEdit>
#include <QTest>
#include <vector>

namespace brindle::test {
namespace {

// The counting tick and the poll driven by hand: each simulated second is one
// counting tick followed by ten polls.
class TimedCheckingTest : public MainWindowFixture {
protected:
    void SetUp() override {
        writeServerFile("POP3=mail.example\n");
        writeAccountIni("[EXEINI]\nNAME=taro\nNAME2=secret\n");
        start();
        fakes.mailClient->calls.clear();
    }
    void setInterval(const char* text) {
        mainWindow->settingsWindow->intervalEdit->setText(QString::fromUtf8(text));
    }
    void setCounters(int minutes, int seconds) {
        mainWindow->timedChecking.count = {minutes, seconds};
    }
    int checks() const {
        return static_cast<int>(fakes.mailClient->calls.filter(QStringLiteral("open ")).size());
    }
    void poll(int times) {
        for (int i = 0; i < times; ++i) {
            mainWindow->timedChecking.poll();
        }
    }
    // Runs the given number of seconds and returns, for every check started,
    // the second (1-based) it started in.
    std::vector<int> run(int seconds) {
        std::vector<int> startedAt;
        for (int second = 1; second <= seconds; ++second) {
            const int before = checks();
            mainWindow->timedChecking.countSecond();
            poll(10);
            startedAt.insert(startedAt.end(), checks() - before, second);
        }
        return startedAt;
    }
};

TEST_F(TimedCheckingTest, CountersStartAtZeroAndAMinuteIsSixtyTicks) {
    setInterval("5");
    ASSERT_EQ(mainWindow->timedChecking.count.minutes, 0);
    ASSERT_EQ(mainWindow->timedChecking.count.seconds, 0);
    for (int tick = 1; tick <= 59; ++tick) {
        mainWindow->timedChecking.countSecond();
        ASSERT_EQ(mainWindow->timedChecking.count.seconds, tick);
    }
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 0);
    mainWindow->timedChecking.countSecond();
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 0);
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 1);
    mainWindow->timedChecking.countSecond();
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 1);
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 1);
}

TEST_F(TimedCheckingTest, MinuteCounterHoldsTheIntervalForOneTickThenWraps) {
    setInterval("1");
    setCounters(0, 59);
    mainWindow->timedChecking.countSecond();
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 1);
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 0);
    mainWindow->timedChecking.countSecond();
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 0);
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 1);
}

TEST_F(TimedCheckingTest, SettingOneChecksEverySixtySeconds) {
    setInterval("1");
    EXPECT_EQ(run(185), (std::vector<int>{60, 120, 180}));
}

TEST_F(TimedCheckingTest, AFractionalSettingCountsItsWholeMinutesForCountAndPoll) {
    setInterval("3.5");
    EXPECT_EQ(run(370), (std::vector<int>{180, 360}));
}

TEST_F(TimedCheckingTest, SettingBelowOneSwitchesCheckingOffAsAStartWouldReadIt) {
    setInterval("0.4");
    EXPECT_TRUE(run(125).empty());
}

TEST_F(TimedCheckingTest, SettingZeroStopsCountingAndThePollNeverChecks) {
    setInterval("1");
    setInterval("0");
    EXPECT_FALSE(mainWindow->timedChecking.countTimer().isTicking());
    setCounters(0, 0);
    poll(20);
    setCounters(1, 0);
    poll(20);
    EXPECT_EQ(checks(), 0);
}

TEST_F(TimedCheckingTest, NegativeSettingKeepsCountingWithoutChecks) {
    setInterval("1");
    setInterval("-3");
    EXPECT_TRUE(mainWindow->timedChecking.countTimer().isTicking());
    setCounters(0, 0);
    EXPECT_TRUE(run(200).empty());
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 3);
}

TEST_F(TimedCheckingTest, LoweringBelowTheCountWrapsAtTheNextTick) {
    setInterval("10");
    setCounters(5, 30);
    setInterval("3");
    poll(10);
    EXPECT_EQ(checks(), 0);
    mainWindow->timedChecking.countSecond();
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 0);
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 31);
    // 29 ticks to the next minute, then two more minutes to reach 3.
    EXPECT_EQ(run(200), (std::vector<int>{29 + 120}));
}

TEST_F(TimedCheckingTest, RaisingMidCountRunsOnToTheNewSetting) {
    setInterval("3");
    setCounters(2, 0);
    setInterval("5");
    EXPECT_EQ(run(185), (std::vector<int>{180}));
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 0);
}

TEST_F(TimedCheckingTest, SwitchingOffAndOnResumesTheCountersAndChecksEarly) {
    setInterval("10");
    setCounters(3, 20);
    setInterval("0");
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 3);
    setInterval("3");
    EXPECT_TRUE(mainWindow->timedChecking.countTimer().isTicking());
    poll(1);
    EXPECT_EQ(checks(), 1);
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 3);
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 20);
    mainWindow->timedChecking.countSecond();
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 0);
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 21);
}

// The seconds' timer stands still while the machine sleeps: the sleep is
// counted on at waking, and a check that came due meanwhile comes at once.
TEST_F(TimedCheckingTest, SleepIsCountedAtWaking) {
    setInterval("5");
    setCounters(1, 30);
    emit fakes.wakeSignals->woke(75);
    poll(10);
    EXPECT_EQ(checks(), 0);
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 2);
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 45);
    emit fakes.wakeSignals->woke(3600);
    poll(10);
    EXPECT_EQ(checks(), 1);
}

TEST_F(TimedCheckingTest, PollChecksOncePerReachHoweverOftenItRuns) {
    setInterval("2");
    setCounters(2, 0);
    poll(100);
    EXPECT_EQ(checks(), 1);
    mainWindow->timedChecking.countSecond();
    poll(100);
    EXPECT_EQ(checks(), 1);
    EXPECT_EQ(run(120), (std::vector<int>{119}));
}

TEST_F(TimedCheckingTest, APollDuringAMenuCheckLeavesTheReachForAfterIt) {
    setInterval("2");
    setCounters(2, 0);
    fakes.mailClient->duringLogIn = [this] { mainWindow->timedChecking.poll(); };
    mainWindow->mailCheck.checkMail();
    EXPECT_EQ(checks(), 1);
    fakes.mailClient->duringLogIn = nullptr;
    poll(100);
    EXPECT_EQ(checks(), 2);
}

TEST_F(TimedCheckingTest, ThePollRunsOnlyWhileAReachWaitsForItsCheck) {
    const RepeatingTimer& pollTimer = mainWindow->timedChecking.pollTimer();
    EXPECT_FALSE(pollTimer.isTicking());
    setInterval("1");
    setCounters(0, 58);
    mainWindow->timedChecking.countSecond();
    EXPECT_FALSE(pollTimer.isTicking());
    mainWindow->timedChecking.countSecond();
    ASSERT_TRUE(pollTimer.isTicking());
    // The armed poll fires on its own and stops once it has asked for the check.
    EXPECT_TRUE(QTest::qWaitFor([this] { return checks() == 1; }, 5000));
    EXPECT_FALSE(pollTimer.isTicking());
    mainWindow->timedChecking.countSecond();
    EXPECT_FALSE(pollTimer.isTicking());

    // A reach made by changing the interval arms it too, and switching off disarms it.
    setCounters(3, 0);
    setInterval("3");
    EXPECT_TRUE(pollTimer.isTicking());
    setInterval("0");
    EXPECT_FALSE(pollTimer.isTicking());
}

TEST_F(TimedCheckingTest, AReachHeldBackByARunningCheckKeepsThePollLooking) {
    setInterval("2");
    setCounters(1, 59);
    fakes.mailClient->duringLogIn = [this] {
        mainWindow->timedChecking.countSecond();
        mainWindow->timedChecking.poll();
    };
    mainWindow->mailCheck.checkMail();
    fakes.mailClient->duringLogIn = nullptr;
    EXPECT_EQ(checks(), 1);
    EXPECT_TRUE(mainWindow->timedChecking.pollTimer().isTicking());
    mainWindow->timedChecking.poll();
    EXPECT_EQ(checks(), 2);
    EXPECT_FALSE(mainWindow->timedChecking.pollTimer().isTicking());
}

TEST_F(TimedCheckingTest, MenuCheckLeavesTheCountersAlone) {
    setInterval("5");
    setCounters(2, 17);
    mainWindow->mailCheck.checkMail();
    EXPECT_EQ(checks(), 1);
    EXPECT_EQ(mainWindow->timedChecking.count.minutes, 2);
    EXPECT_EQ(mainWindow->timedChecking.count.seconds, 17);
}

} // namespace
} // namespace brindle::test
