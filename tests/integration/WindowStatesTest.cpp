#include "support/DovecotServer.h"
#include "support/Polling.h"
#include "support/ProgramTest.h"

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The real program beside a real system tray, checking a real mailbox.
class WindowStatesTest : public ProgramTest {
protected:
    WindowStatesTest()
        : ProgramTest(ProgramCopy::Settings::Account, VirtualDisplay::Manager::OpenboxWithTray) {}

    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(dovecot.start());
        program.setPop3Server("pop3://127.0.0.1:" + QByteArray::number(dovecot.pop3Port()));
    }

    // Presses the default button of the box with this title and waits until it is gone.
    bool answer(XWindows::Id box) {
        windows.activate(box);
        windows.pressKeys({u"Return"_s});
        return pollUntil([&] { return !windows.viewable(box); }, 10s);
    }

    // Chooses the menu item and waits for the box it opens; 0 when none came.
    XWindows::Id openBox(XWindows::Id window, MenuItem item, const QString& title) {
        return windows.chooseMenuItem(window, item) ? windows.waitFor(title, 30s) : 0;
    }

    // The buttons of the box with this title, as a screen reader names them.
    std::string buttonsOf(const QString& title) {
        return display.readAccessible(u"accessible_buttons.py"_s, {title}).join(u' ').toStdString();
    }

    DovecotServer dovecot;
};

TEST_F(WindowStatesTest, InTheTrayOnlyQuitEndsTheProgramAndItSaves) {
    dovecot.deliver("Subject: hello\r\n\r\nbody\r\n");
    // Checks every minute; the notice board closes itself after a second.
    program.setMainSettings("[EXEINI]\r\nNUMBER2=1\r\nNUMBER4=1\r\n");
    program.setAccount(DovecotServer::user, DovecotServer::password);
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(windows.chooseMenuItem(window, ToTray));
    ASSERT_TRUE(pollUntil([&] { return !windows.viewable(window); }, 10s));
    QPoint icon;
    ASSERT_TRUE(pollUntil([&] { return !(icon = windows.trayIconCentre()).isNull(); }, 10s));

    windows.click(icon, 1);
    const XWindows::Id clicked = windows.waitFor(u"Brindle"_s, 10s);
    ASSERT_NE(clicked, 0u) << "no \"Clicked!\" box";
    ASSERT_TRUE(answer(clicked));
    EXPECT_TRUE(program.process().groupRunning()) << "ended when \"Clicked!\" closed";

    const XWindows::Id board = windows.waitFor(u"新着お知らせボード"_s, 100s);
    ASSERT_NE(board, 0u) << dovecot.log().toStdString();
    ASSERT_TRUE(pollUntil([&] { return !windows.viewable(board); }, 20s));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(program.process().groupRunning()) << "ended when the board closed";

    // The tray's menu: "メイン画面を表示", then "終了".
    ASSERT_TRUE(windows.chooseTrayMenuItem(icon, 1));
    ASSERT_TRUE(endedCleanly()) << "after 終了";
    EXPECT_TRUE(program.mainSettings().contains("\r\nNUMBER3=0\r\n"));
}

// Qt's standard buttons as a screen reader reads them, in Japanese like the rest.
TEST_F(WindowStatesTest, BoxesStandAboveTheTopmostMainWindowWithJapaneseButtons) {
    ASSERT_TRUE(display.startAccessibility());
    program.setAccount(DovecotServer::user, "wrong");
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);
    const XWindows::Id question = openBox(window, HomePage, u"確認"_s);
    ASSERT_NE(question, 0u);
    EXPECT_EQ(buttonsOf(u"確認"_s), "はい(Y) いいえ(N)");
    windows.activate(question);
    windows.pressKeys({u"Escape"_s});
    ASSERT_TRUE(pollUntil([&] { return !windows.viewable(question); }, 10s));

    const XWindows::Id box = openBox(window, MailCheck, u"エラー"_s);
    ASSERT_NE(box, 0u);
    EXPECT_EQ(buttonsOf(u"エラー"_s), "OK");
    EXPECT_TRUE(windows.property(window, u"_NET_WM_STATE"_s).contains(u"_NET_WM_STATE_ABOVE"_s));

    // A click on the blocked main window does not bring it over the box.
    windows.click(windows.geometry(window).center(), 1);
    std::this_thread::sleep_for(500ms);
    const QList<XWindows::Id> order = windows.stackingOrder();
    ASSERT_TRUE(order.contains(box) && order.contains(window));
    EXPECT_GT(order.indexOf(box), order.indexOf(window));

    ASSERT_TRUE(answer(box));
    windows.close(window);
    ASSERT_TRUE(endedCleanly());
}

} // namespace
} // namespace brindle::test
