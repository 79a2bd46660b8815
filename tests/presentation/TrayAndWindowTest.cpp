#include "settings/SettingsWindow.h"
#include "support/MainWindowFixture.h"
#include "ui/InterfaceLanguage.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;

class TrayAndWindowTest : public MainWindowFixture {
protected:
    TrayAndWindowTest() {
        writeServerFile("POP3=mail.example\n");
        writeAccountIni("[EXEINI]\nNAME=a\nNAME2=b\n");
        start();
    }
};

TEST_F(TrayAndWindowTest, GoingToTheTrayHidesTheWindowAndSetsTheIconAnewEachTime) {
    mainWindow->moveToTrayAction->trigger();
    EXPECT_FALSE(mainWindow->isVisible());
    EXPECT_TRUE(fakes.tray->iconSet);
    EXPECT_EQ(fakes.tray->shows, 1);
    ASSERT_EQ(fakes.tray->texts.size(), 1);
    EXPECT_FALSE(fakes.tray->texts.first().isEmpty());

    mainWindow->tray.showWindowAction->trigger();
    EXPECT_TRUE(mainWindow->isVisible());
    mainWindow->tray.showWindowAction->trigger(); // already visible: stays visible
    EXPECT_TRUE(mainWindow->isVisible());
    mainWindow->moveToTrayAction->trigger();
    EXPECT_EQ(fakes.tray->shows, 2);
    EXPECT_EQ(fakes.tray->texts.size(), 2);
}

// Minimised, the window could be found only in GNOME's overview.
TEST_F(TrayAndWindowTest, WithoutASystemTrayTheWindowStaysAndTheUserIsToldOnce) {
    fakes.tray->available = false;
    mainWindow->moveToTrayAction->trigger();
    mainWindow->moveToTrayAction->trigger();
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_FALSE(mainWindow->isMinimized());
    EXPECT_EQ(fakes.tray->shows, 0);
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    EXPECT_TRUE(fakes.messageBoxes->shown[0].text.contains(QStringLiteral("システムトレイがない")));
}

// The count goes on the icon; new mail is told on the desktop from the tray
// only, the newest five by name (of at most 20 headers read), once, and the
// notice goes when its mail does. A click on it brings the window back.
TEST_F(TrayAndWindowTest, MailIsCountedOnTheIconAndNewMailToldFromTheTray) {
    FakeMailClient& mailbox = *fakes.mailClient;
    QStringList ids;
    for (int number = 1; number <= 25; ++number) {
        ids << QString::number(number);
        mailbox.headers[ids.last()] = {QStringLiteral("\"S%1\" <s@x.jp>").arg(number),
                                       {},
                                       QStringLiteral("subject %1").arg(number),
                                       {}};
    }
    const auto checkWith = [&](const QStringList& present) {
        mailbox.ids = present;
        mailbox.messageCount = int(present.size());
        mainWindow->checkMailAction->trigger();
    };
    checkWith(ids.mid(0, 3)); // on the screen beside a tray
    EXPECT_TRUE(fakes.notifications->calls.isEmpty());
    mainWindow->moveToTrayAction->trigger();
    checkWith(ids);
    EXPECT_TRUE(mailbox.calls.contains(u"headers "_s + ids.mid(5).join(u',')));
    EXPECT_EQ(fakes.notifications->calls,
              QStringList{u"show 0 新着メールが有ります: S25 — subject 25|S24 — subject 24|"
                          u"S23 — subject 23|S22 — subject 22|S21 — subject 21|ほか 17 通"_s});
    EXPECT_TRUE(fakes.tray->texts.last().endsWith(u"\n新着メール: 25 通"_s));
    EXPECT_NE(fakes.tray->icon.pixmap(22).toImage(), mainWindow->windowIcon().pixmap(22).toImage());
    checkWith(ids);
    checkWith(ids.mid(0, 24));
    EXPECT_EQ(fakes.notifications->calls.mid(1), QStringList{u"close 1"_s});
    checkWith({});
    EXPECT_EQ(fakes.tray->icon.cacheKey(), mainWindow->windowIcon().cacheKey());
    EXPECT_FALSE(fakes.tray->texts.last().contains(u'\n'));

    checkWith(ids + QStringList{u"26"_s}); // no header read: counted only
    EXPECT_EQ(fakes.notifications->calls.last(), u"show 0 新着メールが有ります: ほか 1 通"_s);
    emit fakes.notifications->clicked(2);
    EXPECT_TRUE(mainWindow->isVisible());
}

// Several mailboxes make one notice; it stays while a mailbox whose mail it
// names could not be read, and goes when that mailbox is read without it.
TEST(NewMailNoticesTest, OneNoticeForEveryMailboxClosedOnlyByTheMailboxItNames) {
    FakeNotifications notifications;
    NewMailNotices notices(notifications);
    const NewMessages first{u"a"_s, {u"1"_s}, {u"1"_s}, {{u"S <s@x.jp>"_s, {}, u"hi"_s, {}}}, {}};
    const NewMessages firstAgain{u"a"_s, {u"1"_s}, {}, {}, {}};
    NewMessages second{u"b"_s, {u"1"_s, u"2"_s}, {u"1"_s, u"2"_s}, {}, {}};
    notices.tell({first, second}, true);
    notices.tell({firstAgain}, true);
    second.present = {u"2"_s};
    second.added = {};
    notices.tell({firstAgain, second}, true);
    EXPECT_EQ(notifications.calls,
              (QStringList{u"show 0 新着メールが有ります: S — hi|ほか 2 通"_s, u"close 1"_s}));
}

TEST_F(TrayAndWindowTest, ATrayThatGoesGivesBackTheWindowHiddenInIt) {
    mainWindow->moveToTrayAction->trigger();
    ASSERT_FALSE(mainWindow->isVisible());
    fakes.tray->available = false;
    emit fakes.tray->availabilityChanged(false);
    EXPECT_TRUE(mainWindow->isVisible());
}

TEST_F(TrayAndWindowTest, TheTrayGetsTheMenuAndAClickSaysClickedOnlyAfterReturning) {
    ASSERT_EQ(fakes.tray->menu, mainWindow->tray.menu);
    QStringList items;
    for (const QAction* action : fakes.tray->menu->actions()) {
        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(items, (QStringList{QStringLiteral("メイン画面を表示"), QStringLiteral("-"),
                                  QStringLiteral("終了")}));

    emit fakes.tray->clicked();
    // The tray (a D-Bus caller) has its answer before the box waits for the user.
    EXPECT_TRUE(fakes.messageBoxes->shown.empty());
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    const auto& box = fakes.messageBoxes->shown.front();
    EXPECT_EQ(box.text, QStringLiteral("Clicked!"));
    EXPECT_EQ(box.caption, QStringLiteral("Brindle"));
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Exclamation);
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
}

TEST_F(TrayAndWindowTest, EndFromThePopupSavesAndEndsLikeTheCloseBox) {
    mainWindow->moveToTrayAction->trigger();
    mainWindow->launchMailerBox->setChecked(true);
    mainWindow->tray.quitAction->trigger();
    EXPECT_EQ(fakes.programEnd->ends, 1);
    EXPECT_TRUE(readStored(mainIni()).contains(QStringLiteral("NUMBER3=1\r\n")));
}

TEST_F(TrayAndWindowTest, AlwaysInFrontSwitchesAnyNumberOfTimes) {
    fakes.stacking->calls.clear();
    mainWindow->stopKeepingInFrontAction->trigger();
    mainWindow->stopKeepingInFrontAction->trigger();
    mainWindow->keepInFrontAction->trigger();
    const std::vector<std::pair<QWidget*, bool>> expected{
        {mainWindow.get(), false}, {mainWindow.get(), false}, {mainWindow.get(), true}};
    EXPECT_EQ(fakes.stacking->calls, expected);
}

TEST_F(TrayAndWindowTest, SettingsOpensTheOneSettingsWindowWithoutBlocking) {
    SettingsWindow* hidden = &mainWindow->settingsWindow.get();
    mainWindow->settingsAction->trigger();
    mainWindow->settingsAction->trigger();
    EXPECT_EQ(&mainWindow->settingsWindow.get(), hidden);
    EXPECT_TRUE(hidden->isVisible());
    EXPECT_FALSE(hidden->isModal());
}

TEST_F(TrayAndWindowTest, ADoubleClickOnTheIntervalLabelsEndsNothing) {
    for (QLabel* label : {mainWindow->intervalStateLabel, mainWindow->minutesLabel}) {
        QTest::mouseDClick(label, Qt::LeftButton);
    }
    EXPECT_EQ(fakes.programEnd->ends, 0);
    EXPECT_TRUE(mainWindow->isVisible());
}

TEST_F(TrayAndWindowTest, TheHomePageOpensOnlyWhenTheUserSaysYes) {
    mainWindow->homePageAction->trigger();
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    EXPECT_EQ(fakes.messageBoxes->shown[0].text,
              QStringLiteral("「Quillworks」作者のホームページです。ちょっと見てみますか？"));
    EXPECT_EQ(fakes.messageBoxes->shown[0].caption, QStringLiteral("確認"));
    EXPECT_EQ(fakes.messageBoxes->shown[0].icon, MessageBoxes::Icon::Question);
    EXPECT_TRUE(fakes.urlOpener->opened.isEmpty());

    fakes.messageBoxes->answer = MessageBoxes::Answer::Yes;
    mainWindow->homePageAction->trigger();
    ASSERT_EQ(fakes.urlOpener->opened.size(), 1);
    EXPECT_EQ(fakes.urlOpener->opened[0].scheme(), QStringLiteral("https"));
}

struct GeneralDateCase {
    const char* desktop; // the desktop's locale
    InterfaceLanguage language;
    const char* text;
};

class GeneralDateTest : public ::testing::TestWithParam<GeneralDateCase> {};

// The tray icon's text: the short date and the time with seconds, in numbers as
// the windows' locale writes them.
TEST_P(GeneralDateTest, DateAndTimeWithSecondsInTheNumbersOfTheWindowsLocale) {
    QLocale::setDefault(
        interfaceLocale(GetParam().language, QLocale(QString::fromLatin1(GetParam().desktop))));
    const QDateTime moment(QDate(2026, 12, 9), QTime(15, 4, 5));
    EXPECT_EQ(TrayResidence::generalDateTime(moment), QString::fromUtf8(GetParam().text));
    QLocale::setDefault(QLocale::c());
}

INSTANTIATE_TEST_SUITE_P(
    Locales, GeneralDateTest,
    ::testing::Values(GeneralDateCase{"ja_JP", InterfaceLanguage::Japanese, "2026/12/09 15:04:05"},
                      GeneralDateCase{"C", InterfaceLanguage::Japanese, "2026/12/09 15:04:05"},
                      GeneralDateCase{"en_US", InterfaceLanguage::English, "12/9/26 3:04:05 PM"},
                      GeneralDateCase{"de_DE", InterfaceLanguage::English, "09.12.26 15:04:05"}));

} // namespace
} // namespace brindle::test
