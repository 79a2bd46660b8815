#include "settings/SetForm.h"
#include "support/MainFormFixture.h"

#include <QLineEdit>
#include <vector>

namespace brindle::test {
namespace {

// The counting tick and the poll driven by hand: each simulated second is one
// counting tick followed by ten polls.
class MainFormTimedCheckTest : public MainFormFixture {
protected:
    void SetUp() override {
        writeServerFile("POP3=mail.example\n");
        writeAccountIni("[EXEINI]\nNAME=taro\nNAME2=secret\n");
        start();
        fakes.mailClient->calls.clear();
    }
    void setInterval(const char* text) { form->setForm->Text2->setText(QString::fromUtf8(text)); }
    void setCounters(const char* minutes, const char* seconds) {
        form->Text1 = QString::fromUtf8(minutes);
        form->Text4 = QString::fromUtf8(seconds);
    }
    int checks() const {
        return static_cast<int>(fakes.mailClient->calls.filter(QStringLiteral("open ")).size());
    }
    void poll(int times) {
        for (int i = 0; i < times; ++i) {
            form->Timer1_Timer();
        }
    }
    // Runs the given number of seconds and returns, for every check started,
    // the second (1-based) it started in.
    std::vector<int> run(int seconds) {
        std::vector<int> startedAt;
        for (int second = 1; second <= seconds; ++second) {
            const int before = checks();
            form->Timer3_Timer();
            poll(10);
            startedAt.insert(startedAt.end(), checks() - before, second);
        }
        return startedAt;
    }
};

TEST_F(MainFormTimedCheckTest, CountersStartFromTheirPlaceholdersAndAMinuteIsSixtyTicks) {
    setInterval("5");
    ASSERT_EQ(form->Text1, QStringLiteral("Text1"));
    ASSERT_EQ(form->Text4, QStringLiteral("Text4"));
    for (int tick = 1; tick <= 59; ++tick) {
        form->Timer3_Timer();
        ASSERT_EQ(form->Text4, QString::number(tick));
    }
    EXPECT_EQ(form->Text1, QStringLiteral("Text1"));
    form->Timer3_Timer();
    EXPECT_EQ(form->Text4, QStringLiteral("0"));
    EXPECT_EQ(form->Text1, QStringLiteral("1"));
    form->Timer3_Timer();
    EXPECT_EQ(form->Text4, QStringLiteral("1"));
    EXPECT_EQ(form->Text1, QStringLiteral("1"));
}

TEST_F(MainFormTimedCheckTest, MinuteCounterHoldsTheIntervalForOneTickThenWraps) {
    setInterval("1");
    setCounters("0", "59");
    form->Timer3_Timer();
    EXPECT_EQ(form->Text1, QStringLiteral("1"));
    EXPECT_EQ(form->Text4, QStringLiteral("0"));
    form->Timer3_Timer();
    EXPECT_EQ(form->Text1, QStringLiteral("0"));
    EXPECT_EQ(form->Text4, QStringLiteral("1"));
}

TEST_F(MainFormTimedCheckTest, SettingOneChecksEverySixtySeconds) {
    setInterval("1");
    EXPECT_EQ(run(185), (std::vector<int>{60, 120, 180}));
}

TEST_F(MainFormTimedCheckTest, FractionalSettingsRoundHalfToEvenForCountAndPoll) {
    setInterval("2.5");
    EXPECT_EQ(run(250), (std::vector<int>{120, 240}));
}

TEST_F(MainFormTimedCheckTest, SettingBelowOneHalfStillChecksEveryMinute) {
    setInterval("0.4");
    EXPECT_EQ(run(125), (std::vector<int>{60, 120}));
}

TEST_F(MainFormTimedCheckTest, SettingZeroStopsCountingAndThePollNeverChecks) {
    setInterval("1");
    setInterval("0");
    EXPECT_FALSE(form->Timer3.isTicking());
    setCounters("0", "0");
    poll(20);
    setCounters("1", "0");
    poll(20);
    EXPECT_EQ(checks(), 0);
}

TEST_F(MainFormTimedCheckTest, NegativeSettingKeepsCountingWithoutChecks) {
    setInterval("1");
    setInterval("-3");
    EXPECT_TRUE(form->Timer3.isTicking());
    setCounters("0", "0");
    EXPECT_TRUE(run(200).empty());
    EXPECT_EQ(form->Text1, QStringLiteral("3"));
}

TEST_F(MainFormTimedCheckTest, LoweringBelowTheCountWrapsAtTheNextTick) {
    setInterval("10");
    setCounters("5", "30");
    setInterval("3");
    poll(10);
    EXPECT_EQ(checks(), 0);
    form->Timer3_Timer();
    EXPECT_EQ(form->Text1, QStringLiteral("0"));
    EXPECT_EQ(form->Text4, QStringLiteral("31"));
    // 29 ticks to the next minute, then two more minutes to reach 3.
    EXPECT_EQ(run(200), (std::vector<int>{29 + 120}));
}

TEST_F(MainFormTimedCheckTest, RaisingMidCountRunsOnToTheNewSetting) {
    setInterval("3");
    setCounters("2", "0");
    setInterval("5");
    EXPECT_EQ(run(185), (std::vector<int>{180}));
    EXPECT_EQ(form->Text1, QStringLiteral("0"));
}

TEST_F(MainFormTimedCheckTest, SwitchingOffAndOnResumesTheCountersAndChecksEarly) {
    setInterval("10");
    setCounters("3", "20");
    setInterval("0");
    EXPECT_EQ(form->Text1, QStringLiteral("3"));
    setInterval("3");
    EXPECT_TRUE(form->Timer3.isTicking());
    poll(1);
    EXPECT_EQ(checks(), 1);
    EXPECT_EQ(form->Text1, QStringLiteral("3"));
    EXPECT_EQ(form->Text4, QStringLiteral("20"));
    form->Timer3_Timer();
    EXPECT_EQ(form->Text1, QStringLiteral("0"));
    EXPECT_EQ(form->Text4, QStringLiteral("21"));
}

TEST_F(MainFormTimedCheckTest, PollChecksOncePerReachHoweverOftenItRuns) {
    setInterval("2");
    setCounters("2", "0");
    poll(100);
    EXPECT_EQ(checks(), 1);
    form->Timer3_Timer();
    poll(100);
    EXPECT_EQ(checks(), 1);
    EXPECT_EQ(run(120), (std::vector<int>{119}));
}

TEST_F(MainFormTimedCheckTest, APollDuringAMenuCheckLeavesTheReachForAfterIt) {
    setInterval("2");
    setCounters("2", "0");
    fakes.mailClient->duringLogIn = [this] { form->Timer1_Timer(); };
    form->mcheck_Click();
    EXPECT_EQ(checks(), 1);
    fakes.mailClient->duringLogIn = nullptr;
    poll(100);
    EXPECT_EQ(checks(), 2);
}

TEST_F(MainFormTimedCheckTest, MenuCheckLeavesTheCountersAlone) {
    setInterval("5");
    setCounters("2", "17");
    form->mcheck_Click();
    EXPECT_EQ(checks(), 1);
    EXPECT_EQ(form->Text1, QStringLiteral("2"));
    EXPECT_EQ(form->Text4, QStringLiteral("17"));
}

} // namespace
} // namespace brindle::test
