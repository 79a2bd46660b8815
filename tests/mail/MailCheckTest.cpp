#include "app/NoticeBoard.h"
#include "mail/ReadMessages.h"
#include "settings/AccountDialog.h"
#include "settings/SettingsWindow.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <algorithm>
#include <limits>

namespace brindle::test {
namespace {

// A main window with a server and a saved account, its start-up calls cleared.
class MailCheckTest : public MainWindowFixture {
protected:
    MainWindow&
    startWithAccount(const QByteArray& serverLines = "POP3=mail.example\nAPOP=0\n",
                     const QByteArray& accountLines = "[EXEINI]\nNAME=taro\nNAME2=secret\n") {
        writeServerFile(serverLines);
        writeAccountIni(accountLines);
        MainWindow& main = start();
        fakes.mailClient->calls.clear();
        fakes.mailClient->messageCount = 3;
        sceneAddressesAtStart = fakes.scene->pages.size();
        tuneCallsAtStart = fakes.tunePlayer->calls.size();
        return main;
    }
    qsizetype connects() const {
        return fakes.mailClient->calls.filter(QStringLiteral("open ")).size();
    }
    bool sceneStarted() const {
        return fakes.scene->pages.size() > sceneAddressesAtStart &&
               fakes.scene->pages.last().endsWith(QStringLiteral("/画像データ/Kakasi.htm")) &&
               fakes.tunePlayer->calls.mid(tuneCallsAtStart).contains(QStringLiteral("play"));
    }
    int boardTopmostCalls(MainWindow& main) {
        if (!main.noticeBoard.exists()) {
            return 0;
        }
        const QWidget* board = &main.noticeBoard.get();
        return static_cast<int>(std::count_if(
            fakes.stacking->calls.begin(), fakes.stacking->calls.end(),
            [board](const auto& call) { return call.first == board && call.second; }));
    }

    qsizetype sceneAddressesAtStart = 0;
    qsizetype tuneCallsAtStart = 0;
};

TEST_F(MailCheckTest, ThreeMessagesAreFetchedInOrderAndTheSessionClosed) {
    startWithAccount().mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls,
              (QStringList{"open mail.example", "log in taro secret USER", "header 1", "size 1",
                           "fetch 1", "header 2", "size 2", "fetch 2", "header 3", "size 3",
                           "fetch 3", "close"}));
}

TEST_F(MailCheckTest, HugeCountIsShownWhileAtMostTheLimitIsFetched) {
    MainWindow& main = startWithAccount();
    fakes.mailClient->messageCount = std::numeric_limits<int>::max();
    main.mailCheck.checkMail();

    const QStringList& calls = fakes.mailClient->calls;
    EXPECT_EQ(calls.filter(QStringLiteral("fetch ")).size(), MaxMessagesFetched);
    EXPECT_TRUE(calls.contains(QStringLiteral("fetch %1").arg(MaxMessagesFetched)));
    EXPECT_EQ(calls.last(), QStringLiteral("close"));
    ASSERT_TRUE(main.noticeBoard.exists());
    EXPECT_EQ(main.noticeBoard->countText->text(), QStringLiteral("2147483647"));
}

TEST_F(MailCheckTest, CountKeptByTheServerIsShownWithoutReadingAMessage) {
    MainWindow& main = startWithAccount("POP3=imaps://mail.example\nAPOP=0\n");
    fakes.mailClient->readsMessages = false;
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls,
              (QStringList{"open imaps://mail.example", "log in taro secret USER", "close"}));
    ASSERT_TRUE(main.noticeBoard.exists());
    EXPECT_EQ(main.noticeBoard->countText->text(), QStringLiteral("3"));
}

TEST_F(MailCheckTest, ApopLogsInWithApop) {
    MainWindow& main = startWithAccount("POP3=mail.example\nAPOP=1\n");
    fakes.mailClient->messageCount = 0;
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls,
              (QStringList{"open mail.example", "log in taro secret APOP", "close"}));
}

TEST_F(MailCheckTest, NoServerMakesNoConnectionButStillHangsUp) {
    MainWindow& main = startWithAccount("SMTP=smtp.example\n");
    main.settingsWindow->hangUpBox->setChecked(true);
    fakes.dialUpLinks->activeLinks = QStringList{QStringLiteral("line1")};
    main.mailCheck.checkMail();
    EXPECT_TRUE(fakes.mailClient->calls.isEmpty());
    EXPECT_EQ(fakes.dialUpLinks->hungUp, QStringList{QStringLiteral("line1")});
}

TEST_F(MailCheckTest, FailedConnectionMakesNoFurtherCall) {
    MainWindow& main = startWithAccount();
    fakes.mailClient->connects = false;
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls, QStringList{QStringLiteral("open mail.example")});
    EXPECT_FALSE(main.noticeBoard.exists());
}

TEST_F(MailCheckTest, MissingPasswordOpensTheAccountDialogAndClosesWithoutLogin) {
    MainWindow& main = startWithAccount("POP3=mail.example\n", "[EXEINI]\nNAME=taro\n");
    main.accountDialog->hide();
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls, (QStringList{"open mail.example", "close"}));
    EXPECT_TRUE(main.accountDialog->isVisible());
    EXPECT_EQ(main.accountDialog->idEdit->text(), QStringLiteral("taro"));
    EXPECT_FALSE(main.noticeBoard.exists());
}

TEST_F(MailCheckTest, WrongPasswordShowsOneErrorBoxThenCloses) {
    MainWindow& main = startWithAccount();
    fakes.mailClient->errorText = QStringLiteral("ログインできません");
    QStringList callsWhileOpen;
    fakes.messageBoxes->whileOpen = [&] { callsWhileOpen = fakes.mailClient->calls; };
    main.mailCheck.checkMail();

    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    const FakeMessageBoxes::Shown& box = fakes.messageBoxes->shown.front();
    EXPECT_EQ(box.text, QStringLiteral("ログインできません"));
    EXPECT_EQ(box.caption, QStringLiteral("エラー"));
    EXPECT_EQ(box.icon, MessageBoxes::Icon::None);
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
    EXPECT_FALSE(callsWhileOpen.contains(QStringLiteral("close")));
    EXPECT_EQ(fakes.mailClient->calls.last(), QStringLiteral("close"));
    EXPECT_FALSE(main.noticeBoard.exists());
    EXPECT_FALSE(sceneStarted());
}

TEST_F(MailCheckTest, EmptyMailboxShowsNothing) {
    MainWindow& main = startWithAccount();
    fakes.mailClient->messageCount = 0;
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls,
              (QStringList{"open mail.example", "log in taro secret USER", "close"}));
    EXPECT_TRUE(fakes.messageBoxes->shown.empty());
    EXPECT_FALSE(main.noticeBoard.exists());
    EXPECT_FALSE(sceneStarted());
}

TEST_F(MailCheckTest, AccountConfirmedWithoutSavingIsUsedAndTheFileKeepsTheOldOne) {
    MainWindow& main = startWithAccount();
    main.accountDialog->idEdit->setText(QStringLiteral("jiro"));
    main.accountDialog->passwordEdit->setText(QStringLiteral("typed"));
    main.accountDialog->savePasswordBox->setChecked(false);
    main.accountDialog->confirm();
    fakes.mailClient->messageCount = 0;
    main.mailCheck.checkMail();

    EXPECT_TRUE(fakes.mailClient->calls.contains(QStringLiteral("log in jiro typed USER")));
    const QString stored = readStored(accountIni());
    EXPECT_TRUE(stored.contains(QStringLiteral("NAME=taro\r\n")));
    EXPECT_TRUE(stored.contains(QStringLiteral("NAME2=secret\r\n")));
}

TEST_F(MailCheckTest, NewMailOpensTheTopmostBoardAndStartsTheScene) {
    MainWindow& main = startWithAccount();
    main.mailCheck.checkMail();
    ASSERT_TRUE(main.noticeBoard.exists());
    EXPECT_TRUE(main.noticeBoard->isVisible());
    EXPECT_EQ(main.noticeBoard->noticeText->text(), QStringLiteral("新着メールが有ります"));
    EXPECT_EQ(main.noticeBoard->countText->text(), QStringLiteral("3"));
    EXPECT_EQ(boardTopmostCalls(main), 1);
    EXPECT_TRUE(sceneStarted());
}

TEST_F(MailCheckTest, TimeMarksFollowTheCheckFromTheMenuToTheBoardsFirstPaint) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    fakes.timeMarks = out;
    MainWindow& main = startWithAccount();
    main.checkMailAction->trigger();
    QCoreApplication::processEvents();

    std::rewind(out);
    QStringList names;
    double previous = 0;
    char line[256];
    while (std::fgets(line, sizeof line, out) != nullptr) {
        const QList<QByteArray> fields = QByteArray(line).trimmed().split(' ');
        names.append(QString::fromLatin1(fields.value(1)));
        EXPECT_GE(fields.value(2).toDouble(), previous) << line;
        previous = fields.value(2).toDouble();
    }
    EXPECT_EQ(names,
              (QStringList{"menu-chosen", "session-open", "logged-in", "fetched", "board-shown"}));
    std::fclose(out);
}

TEST_F(MailCheckTest, OneSecondBoardIsGoneBeforeTheSceneStarts) {
    MainWindow& main = startWithAccount();
    main.settingsWindow->autoCloseBoardBox->setChecked(true);
    bool visibleDuringWait = false;
    bool sceneDuringWait = true;
    fakes.events->at(900, [&] {
        visibleDuringWait = main.noticeBoard.exists() && main.noticeBoard->isVisible();
        sceneDuringWait = sceneStarted();
    });
    const std::int64_t before = fakes.clock->now;
    main.mailCheck.checkMail();

    EXPECT_TRUE(visibleDuringWait);
    EXPECT_FALSE(sceneDuringWait);
    EXPECT_GT(fakes.clock->now - before, 1000);
    EXPECT_FALSE(main.noticeBoard.exists());
    EXPECT_TRUE(sceneStarted());
}

TEST_F(MailCheckTest, BoardLeftOpenIsRefilledByTheNextCheckAndKeptByAnEmptyOne) {
    MainWindow& main = startWithAccount();
    main.mailCheck.checkMail();
    ASSERT_TRUE(main.noticeBoard.exists());
    const NoticeBoard* first = &main.noticeBoard.get();

    fakes.mailClient->messageCount = 2;
    main.mailCheck.checkMail();
    ASSERT_TRUE(main.noticeBoard.exists());
    EXPECT_EQ(&main.noticeBoard.get(), first);
    EXPECT_EQ(main.noticeBoard->countText->text(), QStringLiteral("2"));
    EXPECT_EQ(boardTopmostCalls(main), 1);

    fakes.mailClient->messageCount = 0;
    main.mailCheck.checkMail();
    ASSERT_TRUE(main.noticeBoard.exists());
    EXPECT_EQ(&main.noticeBoard.get(), first);
    EXPECT_TRUE(main.noticeBoard->isVisible());
    EXPECT_EQ(main.noticeBoard->countText->text(), QStringLiteral("2"));
}

TEST_F(MailCheckTest, LaunchOptionStartsTheTrimmedPathOnceInsteadOfTheBoard) {
    MainWindow& main = startWithAccount();
    main.launchMailerBox->setChecked(true);
    main.mailer->setPath(QStringLiteral("  /opt/mail/mailer  "));
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.launcher->started, QStringList{QStringLiteral("/opt/mail/mailer")});
    EXPECT_FALSE(main.noticeBoard.exists());
    EXPECT_FALSE(sceneStarted());

    fakes.mailClient->messageCount = 0;
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.launcher->started.size(), 1);
}

TEST_F(MailCheckTest, LaunchOptionWithoutAMailerDoesNothing) {
    MainWindow& main = startWithAccount();
    main.launchMailerBox->setChecked(true);
    ASSERT_EQ(main.mailer->path(), QStringLiteral("未設定"));
    main.mailCheck.checkMail();
    EXPECT_TRUE(fakes.launcher->started.isEmpty());
    EXPECT_FALSE(main.noticeBoard.exists());
    EXPECT_FALSE(sceneStarted());
}

TEST_F(MailCheckTest, CheckAskedForDuringLoginIsSkipped) {
    MainWindow& main = startWithAccount();
    fakes.mailClient->duringLogIn = [&main] { main.mailCheck.checkMail(); };
    main.mailCheck.checkMail();
    EXPECT_EQ(connects(), 1);
    EXPECT_FALSE(main.mailCheck.isRunning());

    fakes.mailClient->duringLogIn = nullptr;
    main.mailCheck.checkMail();
    EXPECT_EQ(connects(), 2);
}

TEST_F(MailCheckTest, PollDuringTheOneSecondWaitStartsNoSecondCheck) {
    MainWindow& main = startWithAccount();
    main.settingsWindow->autoCloseBoardBox->setChecked(true);
    main.settingsWindow->intervalEdit->setText(QStringLiteral("1"));
    main.timedChecking.count.minutes = 1;
    fakes.events->at(300, [&main] { main.timedChecking.poll(); });
    main.mailCheck.checkMail();
    EXPECT_EQ(connects(), 1);
}

TEST_F(MailCheckTest, HangUpEndsEveryConnectionInOrderAfterACheckWithMail) {
    MainWindow& main = startWithAccount();
    main.settingsWindow->hangUpBox->setChecked(true);
    fakes.dialUpLinks->activeLinks = QStringList{QStringLiteral("first"), QStringLiteral("second")};
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.dialUpLinks->hungUp, (QStringList{"first", "second"}));
}

TEST_F(MailCheckTest, HangUpDoesNothingWhenConnectionsCannotBeListed) {
    MainWindow& main = startWithAccount();
    fakes.dialUpLinks->activeLinks = std::nullopt;
    main.mailCheck.hangUpDialUp();
    EXPECT_EQ(fakes.dialUpLinks->listings, 1);
    EXPECT_TRUE(fakes.dialUpLinks->hungUp.isEmpty());
}

TEST_F(MailCheckTest, HangUpIsLeftOutWhenTheOptionIsOff) {
    MainWindow& main = startWithAccount();
    fakes.dialUpLinks->activeLinks = QStringList{QStringLiteral("first")};
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.dialUpLinks->listings, 0);
}

} // namespace
} // namespace brindle::test
