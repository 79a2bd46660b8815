#include "support/DovecotServer.h"
#include "support/Polling.h"
#include "support/ProgramTest.h"
#include "support/TestCertificates.h"
#include "support/ToolRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The real program on a desktop without a tray, a real IMAP mailbox and dunst
// as the notification server on the display's session bus; dunst reads markup
// and keeps every notice until it is closed, and dunstctl reads what it holds.
class NewMailNotificationTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(certificates.issue(u"server"_s, {u"IP:127.0.0.1"_s}));
        dovecot.enableTls(certificates.certificateFile(u"server"_s),
                          certificates.keyFile(u"server"_s));
        ASSERT_TRUE(dovecot.start());
        program.setPop3Server("imaps://127.0.0.1:" + QByteArray::number(dovecot.imapsPort()));
        program.setAccount(DovecotServer::user, DovecotServer::password);
        program.setMainSettings("[EXEINI]\r\nNUMBER4=1\r\n"); // the board closes itself
        dunstFolder.write(u"dunstrc"_s, "[global]\nmarkup=full\n[urgency_low]\ntimeout=0\n"
                                        "[urgency_normal]\ntimeout=0\n");
        ASSERT_TRUE(dunst.start(u"dunst"_s, {u"-config"_s, dunstFolder.file(u"dunstrc"_s)},
                                display.environment()));
        ASSERT_TRUE(pollUntil([&] { return dunstctl({u"is-paused"_s}).succeeded(); }, 10s));
    }

    XWindows::Id start() {
        QProcessEnvironment environment = display.environment();
        environment.insert(u"SSL_CERT_FILE"_s, certificates.authorityFile());
        return program.start(environment) ? windows.waitFor(u"Brindle Ver 1.0"_s) : 0;
    }

    ToolRun dunstctl(const QStringList& arguments) const {
        return ToolRun::of(
            u"env"_s, QStringList{u"DBUS_SESSION_BUS_ADDRESS="_s + display.sessionBus()->address(),
                                  u"dunstctl"_s} +
                          arguments);
    }
    int count(const QString& which) const {
        return dunstctl({u"count"_s, which}).output.trimmed().toInt();
    }

    // Checks from the menu; with mail waiting, until its board has come and
    // gone. The menu may not open while the program loads the new-mail scene.
    bool check(XWindows::Id window, bool mailWaiting = true) {
        if (!pollUntil([&] { return windows.chooseMenuItem(window, MailCheck); }, 60s)) {
            return false;
        }
        const XWindows::Id board = mailWaiting ? windows.waitFor(u"新着お知らせボード"_s, 30s) : 0;
        return !mailWaiting ||
               (board != 0 && pollUntil([&] { return !windows.viewable(board); }, 10s));
    }

    TempFolder certificateFolder;
    TestCertificates certificates{certificateFolder.path()};
    DovecotServer dovecot;
    TempFolder dunstFolder;
    ChildProcess dunst;
};

TEST_F(NewMailNotificationTest, NewMailIsToldOnceDecodedAndTheNoticeGoesWithIt) {
    dovecot.deliver("From: a@example.jp\r\nSubject: =?ISO-2022-JP?B?GyRCMnE1RCROJCpDTiRpJDsbKEI=?="
                    "\r\n\r\nbody\r\n");
    dovecot.deliver("From: =?Shift_JIS?B?jlKTYyCRvphZ?= <taro@example.jp>\r\nSubject: <b>&\r\n\r\n"
                    "body\r\n");
    dovecot.deliver("From: \"Hanako\" <h@example.jp>\r\nSubject: lunch\r\n\r\nbody\r\n");
    XWindows::Id window = start();
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(check(window));
    ASSERT_TRUE(pollUntil([&] { return count(u"displayed"_s) == 1; }, 10s));
    ASSERT_TRUE(dunstctl({u"close"_s}).succeeded());
    const QJsonObject notice =
        QJsonDocument::fromJson(dunstctl({u"history"_s}).output.toUtf8())[u"data"_s][0][0]
            .toObject();
    EXPECT_EQ(notice[u"summary"_s][u"data"_s].toString(), u"新着メールが有ります"_s);
    EXPECT_EQ(notice[u"body"_s][u"data"_s].toString(),
              u"Hanako — lunch\n山田 太郎 — &lt;b&gt;&amp;\na@example.jp — 会議のお知らせ"_s);
    EXPECT_TRUE(dovecot.seenMessages().isEmpty()) << "marked read";

    ASSERT_TRUE(check(window)); // nothing new: nothing sent
    EXPECT_EQ(count(u"displayed"_s), 0);
    dovecot.deliver("From: b@example.jp\r\nSubject: later\r\n\r\nbody\r\n");
    ASSERT_TRUE(check(window));
    ASSERT_TRUE(pollUntil([&] { return count(u"displayed"_s) == 1; }, 10s));
    dovecot.markAllSeen(); // read elsewhere
    ASSERT_TRUE(check(window, false));
    EXPECT_TRUE(pollUntil([&] { return count(u"displayed"_s) == 0; }, 10s));

    dovecot.deliver("From: c@example.jp\r\nSubject: last\r\n\r\nbody\r\n");
    ASSERT_TRUE(check(window));
    ASSERT_TRUE(pollUntil([&] { return count(u"displayed"_s) == 1; }, 10s));
    ASSERT_TRUE(dunstctl({u"close"_s}).succeeded());
    windows.close(window);
    ASSERT_TRUE(endedCleanly());
    window = start(); // knows the mail it has seen
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(check(window));
    EXPECT_EQ(count(u"displayed"_s), 0);
    EXPECT_EQ(count(u"history"_s), 3);
}

} // namespace
} // namespace brindle::test
