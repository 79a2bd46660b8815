#include "support/DovecotServer.h"
#include "support/FileFacts.h"
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

    // The buttons of the window with this title, as a screen reader names them.
    std::string buttonsOf(const QString& title) const {
        QStringList names;
        for (const QStringList& control : accessibleControls(title)) {
            if (control.first() == u"button"_s) {
                names << control.value(1);
            }
        }
        return names.join(u' ').toStdString();
    }

    // The program on a mailbox with a message; it checks every minute, and
    // the notice board closes itself after a second.
    XWindows::Id startWithMailWaiting() {
        dovecot.deliver("Subject: hello\r\n\r\nbody\r\n");
        program.setMainSettings("[EXEINI]\r\nNUMBER2=1\r\nNUMBER4=1\r\n");
        program.setAccount(DovecotServer::user, DovecotServer::password);
        return startProgram();
    }

    DovecotServer dovecot;
};

TEST_F(WindowStatesTest, InTheTrayOnlyQuitEndsTheProgramAndItSaves) {
    const XWindows::Id window = startWithMailWaiting();
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

// Hidden in the tray, the scene program and the web engine's processes go,
// and the program itself never maps the engine; a check that finds mail
// meanwhile switches the scene, and the window's first picture back shows it.
TEST_F(WindowStatesTest, TheWindowComesBackFromTheTrayWithTheSceneTheCheckChose) {
    const XWindows::Id window = startWithMailWaiting();
    ASSERT_NE(window, 0u);
    const QImage normal = waitForScene(window, [](const QImage&) { return true; });
    ASSERT_FALSE(normal.isNull()) << "the normal scene never showed";
    ASSERT_TRUE(windows.chooseMenuItem(window, ToTray));
    ASSERT_TRUE(pollUntil([&] { return !windows.viewable(window); }, 10s));
    EXPECT_TRUE(pollUntil([&] { return program.process().groupProcesses() == 1; }, 30s))
        << "the scene program stayed";
    const QString maps = u"/proc/%1/maps"_s.arg(program.process().process().processId());
    EXPECT_FALSE(fileBytes(maps).contains("libQt6WebEngine")) << "the program maps the engine";

    const XWindows::Id board = windows.waitFor(u"新着お知らせボード"_s, 100s);
    ASSERT_NE(board, 0u) << dovecot.log().toStdString();
    ASSERT_TRUE(pollUntil([&] { return !windows.viewable(board); }, 20s));
    QPoint icon;
    ASSERT_TRUE(pollUntil([&] { return !(icon = windows.trayIconCentre()).isNull(); }, 10s));
    ASSERT_TRUE(windows.chooseTrayMenuItem(icon, 0));
    // The first picture the window draws, known by its option strip, which
    // is drawn with the scene: never the old scene, never an empty one.
    QImage first;
    ASSERT_TRUE(pollUntil(
        [&] {
            first = windows.capture(window);
            return optionStrip(first) == optionStrip(normal);
        },
        30s));
    EXPECT_GT(differingShare(sceneArea(first), sceneArea(normal)), 0.5) << "not the new-mail scene";
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

// A check finds mail while the user types in another program: the board
// appears as an alert for screen readers, and the keys stay in that program.
TEST_F(WindowStatesTest, TheBoardLeavesTheKeyboardToAnotherProgram) {
    ASSERT_TRUE(display.startAccessibility());
    dovecot.deliver("Subject: one\r\n\r\nbody\r\n");
    program.setAccount(DovecotServer::user, DovecotServer::password);
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);
    ChildProcess other;
    ASSERT_TRUE(other.start(u"xmessage"_s, {u"-title"_s, u"typing"_s, u"another program"_s},
                            display.environment()));
    const XWindows::Id typing = windows.waitFor(u"typing"_s);
    ASSERT_NE(typing, 0u);
    windows.activate(typing);

    display.readAccessible(u"accessible_tree.py"_s,
                           {u"press"_s, u"Brindle Ver 1.0"_s, u"メールチェック"_s});
    const XWindows::Id board = windows.waitFor(u"新着お知らせボード"_s, 30s);
    ASSERT_NE(board, 0u);
    windows.pressKeys({u"a"_s, u"b"_s, u"c"_s});
    EXPECT_EQ(windows.activeWindow(), typing);
    EXPECT_TRUE(accessibleControls(u"新着お知らせボード"_s)
                    .contains(QStringList{u"field"_s, u"新着メールの数"_s, u"1"_s}));
    EXPECT_EQ(display.readAccessible(u"accessible_tree.py"_s, {u"role"_s, u"新着お知らせボード"_s}),
              QStringList{u"alert"_s});
    windows.close(window);
    ASSERT_TRUE(endedCleanly());
}

// What the program says in one desktop language.
struct LanguageCase {
    const char* name;
    QString locale;
    QStringList mainWindowNames; // among the names of the main window's controls
    QString checkItem;
    QString boardTitle;
    QString countName;
    QString questionTitle;
    QString question;
    std::string questionButtons;
};

class LanguageTest : public WindowStatesTest, public ::testing::WithParamInterface<LanguageCase> {};

// Everything a user reaches has a name in the desktop's language, and a check
// is started and its count read through the accessibility bus alone.
TEST_P(LanguageTest, TheProgramSpeaksTheDesktopsLanguageToScreenReaders) {
    const LanguageCase& expected = GetParam();
    ASSERT_TRUE(display.startAccessibility());
    dovecot.deliver("Subject: one\r\n\r\nbody\r\n");
    dovecot.deliver("Subject: two\r\n\r\nbody\r\n");
    program.setAccount(DovecotServer::user, DovecotServer::password);
    const XWindows::Id window = startProgram(expected.locale);
    ASSERT_NE(window, 0u);

    const QString title = u"Brindle Ver 1.0"_s;
    QStringList names;
    for (const QStringList& control : accessibleControls(title)) {
        if (control.first() != u"label"_s) {
            EXPECT_FALSE(control.value(1).isEmpty()) << control.join(u' ').toStdString();
        }
        names << control.value(1);
    }
    for (const QString& name : expected.mainWindowNames) {
        EXPECT_TRUE(names.contains(name))
            << name.toStdString() << " among " << names.join(u", ").toStdString();
    }

    display.readAccessible(u"accessible_tree.py"_s, {u"press"_s, title, expected.checkItem});
    const XWindows::Id board = windows.waitFor(expected.boardTitle, 30s);
    ASSERT_NE(board, 0u);
    EXPECT_TRUE(accessibleControls(expected.boardTitle)
                    .contains(QStringList{u"field"_s, expected.countName, u"2"_s}));

    ASSERT_TRUE(windows.chooseMenuItem(window, HomePage));
    const XWindows::Id question = windows.waitFor(expected.questionTitle, 30s);
    ASSERT_NE(question, 0u);
    EXPECT_TRUE(accessibleControls(expected.questionTitle)
                    .contains(QStringList{u"label"_s, expected.question, QString()}));
    EXPECT_EQ(buttonsOf(expected.questionTitle), expected.questionButtons);
    windows.activate(question);
    windows.pressKeys({u"Escape"_s});
    ASSERT_TRUE(pollUntil([&] { return !windows.viewable(question); }, 10s));
    windows.close(window);
    ASSERT_TRUE(endedCleanly());
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, LanguageTest,
    ::testing::Values(
        LanguageCase{"Japanese",
                     u"ja_JP.UTF-8"_s,
                     {u"ファイル(F)"_s, u"メールチェック"_s, u"インターバルチェック: OFF"_s,
                      u"曲を鳴らす"_s, u"新着有りで設定メーラーを起動"_s},
                     u"メールチェック"_s,
                     u"新着お知らせボード"_s,
                     u"新着メールの数"_s,
                     u"確認"_s,
                     u"「Quillworks」作者のホームページです。ちょっと見てみますか？"_s,
                     "はい(Y) いいえ(N)"},
        LanguageCase{"English",
                     u"en_US.UTF-8"_s,
                     {u"File"_s, u"Check Mail"_s, u"Interval check: off"_s, u"Play tune"_s,
                      u"Start mailer on new mail"_s},
                     u"Check Mail"_s,
                     u"New Mail"_s,
                     u"New messages"_s,
                     u"Confirm"_s,
                     u"This is the home page of Quillworks, the author. Take a look?"_s,
                     "Yes No"}),
    [](const auto& tested) { return std::string(tested.param.name); });

} // namespace
} // namespace brindle::test
