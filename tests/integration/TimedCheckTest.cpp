#include "support/DovecotServer.h"
#include "support/Polling.h"
#include "support/ProgramTest.h"

namespace brindle::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The program with an interval of one minute and the account of a real, empty mailbox.
class TimedCheckTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(dovecot.start());
        program.setMainSettings("[EXEINI]\r\nNUMBER2=1\r\n");
        program.setAccount(DovecotServer::user, DovecotServer::password);
        // Dovecot here offers no STLS: plain POP3 is asked for by name.
        program.setPop3Server("pop3://127.0.0.1:" + QByteArray::number(dovecot.pop3Port()));
    }

    // Samples the login count until the time; false as soon as it is not count.
    bool loginsStay(int count, Clock::time_point until) const {
        return !pollUntil([&] { return dovecot.loginCount() != count; }, remaining(until));
    }

    // Waits until the login count reaches count; false when the time is up first.
    bool loginsReach(int count, Clock::time_point until) const {
        return pollUntil([&] { return dovecot.loginCount() >= count; }, remaining(until));
    }

    static std::chrono::milliseconds remaining(Clock::time_point until) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    }

    DovecotServer dovecot;
};

TEST_F(TimedCheckTest, AnIntervalOfOneMinuteLogsInOnceEachMinute) {
    const Clock::time_point started = Clock::now();
    ASSERT_NE(startProgram(), 0u);

    // The first minute passes without a check, then exactly one check logs in.
    EXPECT_TRUE(loginsStay(0, started + 50s)) << dovecot.log().toStdString();
    ASSERT_TRUE(loginsReach(1, started + 100s)) << dovecot.log().toStdString();
    const Clock::time_point first = Clock::now();
    EXPECT_TRUE(loginsStay(1, first + 50s)) << dovecot.log().toStdString();

    // The second minute brings the second check, and only one.
    ASSERT_TRUE(loginsReach(2, first + 90s)) << dovecot.log().toStdString();
    const Clock::time_point second = Clock::now();
    EXPECT_TRUE(loginsStay(2, std::max(started + 130s, second + 5s)))
        << dovecot.log().toStdString();
}

} // namespace
} // namespace brindle::test
