#include "settings/IdPassForm.h"
#include "settings/SetForm.h"
#include "shell/MsgForm.h"
#include "support/MainFormFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <algorithm>
#include <limits>

namespace brindle::test {
namespace {

// A main window with a server and a saved account, its start-up calls cleared.
class MainFormCheckMailTest : public MainFormFixture {
protected:
    MainForm&
    startWithAccount(const QByteArray& serverLines = "POP3=mail.example\nAPOP=0\n",
                     const QByteArray& accountLines = "[EXEINI]\nNAME=taro\nNAME2=secret\n") {
        writeServerFile(serverLines);
        writeAccountIni(accountLines);
        MainForm& main = start();
        fakes.mailLib->calls.clear();
        fakes.mailLib->messageCount = 3;
        sceneAddressesAtStart = fakes.scene->pages.size();
        mediaCommandsAtStart = fakes.media->commands.size();
        return main;
    }
    qsizetype connects() const {
        return fakes.mailLib->calls.filter(QStringLiteral("connect")).size();
    }
    bool sceneStarted() const {
        return fakes.scene->pages.size() > sceneAddressesAtStart &&
               fakes.scene->pages.last().endsWith(QStringLiteral("/画像データ/Kakasi.htm")) &&
               fakes.media->commands.mid(mediaCommandsAtStart).contains(QStringLiteral("play bgm"));
    }
    int boardTopmostCalls(MainForm& main) {
        if (!main.msgForm.exists()) {
            return 0;
        }
        const QWidget* board = &main.msgForm.get();
        return static_cast<int>(std::count_if(
            fakes.stacking->calls.begin(), fakes.stacking->calls.end(),
            [board](const auto& call) { return call.first == board && call.second; }));
    }

    qsizetype sceneAddressesAtStart = 0;
    qsizetype mediaCommandsAtStart = 0;
};

TEST_F(MainFormCheckMailTest, ThreeMessagesAreFetchedInOrderAndTheSessionClosed) {
    startWithAccount().mcheck_Click();
    EXPECT_EQ(fakes.mailLib->calls,
              (QStringList{"connect mail.example", "auth 7 taro secret 0", "status 7 1", "size 7 1",
                           "mail 7 1", "status 7 2", "size 7 2", "mail 7 2", "status 7 3",
                           "size 7 3", "mail 7 3", "close 7"}));
}

TEST_F(MainFormCheckMailTest, HugeCountIsShownWhileAtMostTheLimitIsFetched) {
    MainForm& main = startWithAccount();
    fakes.mailLib->messageCount = std::numeric_limits<int>::max();
    main.mcheck_Click();

    const QStringList& calls = fakes.mailLib->calls;
    EXPECT_EQ(calls.filter(QStringLiteral("mail 7 ")).size(), MaxMessagesFetched);
    EXPECT_TRUE(calls.contains(QStringLiteral("mail 7 %1").arg(MaxMessagesFetched)));
    EXPECT_EQ(calls.last(), QStringLiteral("close 7"));
    ASSERT_TRUE(main.msgForm.exists());
    EXPECT_EQ(main.msgForm->Text2->text(), QStringLiteral("2147483647"));
}

TEST_F(MainFormCheckMailTest, ApopAsksTheLibraryWithFlagMinusOne) {
    MainForm& main = startWithAccount("POP3=mail.example\nAPOP=1\n");
    fakes.mailLib->messageCount = 0;
    main.Command8_Click();
    EXPECT_EQ(fakes.mailLib->calls,
              (QStringList{"connect mail.example", "auth 7 taro secret -1", "close 7"}));
}

TEST_F(MainFormCheckMailTest, NoServerMakesNoConnectionButStillHangsUp) {
    MainForm& main = startWithAccount("SMTP=smtp.example\n");
    main.setForm->Check1->setChecked(true);
    fakes.dialUp->active = QStringList{QStringLiteral("line1")};
    main.mcheck_Click();
    EXPECT_TRUE(fakes.mailLib->calls.isEmpty());
    EXPECT_EQ(fakes.dialUp->hungUp, QStringList{QStringLiteral("line1")});
}

TEST_F(MainFormCheckMailTest, FailedConnectionMakesNoFurtherCall) {
    MainForm& main = startWithAccount();
    fakes.mailLib->connectResult = -1;
    main.mcheck_Click();
    EXPECT_EQ(fakes.mailLib->calls, QStringList{QStringLiteral("connect mail.example")});
    EXPECT_FALSE(main.msgForm.exists());
}

TEST_F(MainFormCheckMailTest, MissingPasswordOpensTheAccountDialogAndClosesWithoutLogin) {
    MainForm& main = startWithAccount("POP3=mail.example\n", "[EXEINI]\nNAME=taro\n");
    main.idPassForm->hide();
    main.mcheck_Click();
    EXPECT_EQ(fakes.mailLib->calls, (QStringList{"connect mail.example", "close 7"}));
    EXPECT_TRUE(main.idPassForm->isVisible());
    EXPECT_EQ(main.idPassForm->IdText->text(), QStringLiteral("taro"));
    EXPECT_FALSE(main.msgForm.exists());
}

TEST_F(MainFormCheckMailTest, WrongPasswordShowsOneErrorBoxCutAtTheNulThenCloses) {
    MainForm& main = startWithAccount();
    fakes.mailLib->messageCount = -1;
    fakes.mailLib->errorText =
        QStringLiteral("ログインできません") + QChar(u'\0') + QStringLiteral("rest");
    QStringList callsWhileOpen;
    fakes.messageBoxes->whileOpen = [&] { callsWhileOpen = fakes.mailLib->calls; };
    main.mcheck_Click();

    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    const FakeMessageBoxes::Shown& box = fakes.messageBoxes->shown.front();
    EXPECT_EQ(box.text, QStringLiteral("ログインできません"));
    EXPECT_EQ(box.caption, QStringLiteral("エラー"));
    EXPECT_EQ(box.icon, MessageBoxes::Icon::None);
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
    EXPECT_FALSE(callsWhileOpen.contains(QStringLiteral("close 7")));
    EXPECT_EQ(fakes.mailLib->calls.last(), QStringLiteral("close 7"));
    EXPECT_FALSE(main.msgForm.exists());
    EXPECT_FALSE(sceneStarted());
}

TEST_F(MainFormCheckMailTest, EmptyMailboxShowsNothing) {
    MainForm& main = startWithAccount();
    fakes.mailLib->messageCount = 0;
    main.mcheck_Click();
    EXPECT_EQ(fakes.mailLib->calls,
              (QStringList{"connect mail.example", "auth 7 taro secret 0", "close 7"}));
    EXPECT_TRUE(fakes.messageBoxes->shown.empty());
    EXPECT_FALSE(main.msgForm.exists());
    EXPECT_FALSE(sceneStarted());
}

TEST_F(MainFormCheckMailTest, AccountConfirmedWithoutSavingIsUsedAndTheFileKeepsTheOldOne) {
    MainForm& main = startWithAccount();
    main.idPassForm->IdText->setText(QStringLiteral("jiro"));
    main.idPassForm->PassText->setText(QStringLiteral("typed"));
    main.idPassForm->Check1->setChecked(false);
    main.idPassForm->OKCommand_Click();
    fakes.mailLib->messageCount = 0;
    main.mcheck_Click();

    EXPECT_TRUE(fakes.mailLib->calls.contains(QStringLiteral("auth 7 jiro typed 0")));
    const QString stored = readStored(accountIni());
    EXPECT_TRUE(stored.contains(QStringLiteral("NAME=taro\r\n")));
    EXPECT_TRUE(stored.contains(QStringLiteral("NAME2=secret\r\n")));
}

TEST_F(MainFormCheckMailTest, NewMailOpensTheTopmostBoardAndStartsTheScene) {
    MainForm& main = startWithAccount();
    main.mcheck_Click();
    ASSERT_TRUE(main.msgForm.exists());
    EXPECT_TRUE(main.msgForm->isVisible());
    EXPECT_EQ(main.msgForm->Text1->text(), QStringLiteral("新着メールが有ります"));
    EXPECT_EQ(main.msgForm->Text2->text(), QStringLiteral("3"));
    EXPECT_EQ(boardTopmostCalls(main), 1);
    EXPECT_TRUE(sceneStarted());
}

TEST_F(MainFormCheckMailTest, OneSecondBoardIsGoneBeforeTheSceneStarts) {
    MainForm& main = startWithAccount();
    main.setForm->Check2->setChecked(true);
    bool visibleDuringWait = false;
    bool sceneDuringWait = true;
    fakes.events->at(900, [&] {
        visibleDuringWait = main.msgForm.exists() && main.msgForm->isVisible();
        sceneDuringWait = sceneStarted();
    });
    const std::uint32_t before = fakes.clock->now;
    main.mcheck_Click();

    EXPECT_TRUE(visibleDuringWait);
    EXPECT_FALSE(sceneDuringWait);
    EXPECT_GT(fakes.clock->now - before, 1000U);
    EXPECT_FALSE(main.msgForm.exists());
    EXPECT_TRUE(sceneStarted());
}

TEST_F(MainFormCheckMailTest, BoardLeftOpenIsRefilledByTheNextCheckAndKeptByAnEmptyOne) {
    MainForm& main = startWithAccount();
    main.mcheck_Click();
    ASSERT_TRUE(main.msgForm.exists());
    const MsgForm* first = &main.msgForm.get();

    fakes.mailLib->messageCount = 2;
    main.mcheck_Click();
    ASSERT_TRUE(main.msgForm.exists());
    EXPECT_EQ(&main.msgForm.get(), first);
    EXPECT_EQ(main.msgForm->Text2->text(), QStringLiteral("2"));
    EXPECT_EQ(boardTopmostCalls(main), 1);

    fakes.mailLib->messageCount = 0;
    main.mcheck_Click();
    ASSERT_TRUE(main.msgForm.exists());
    EXPECT_EQ(&main.msgForm.get(), first);
    EXPECT_TRUE(main.msgForm->isVisible());
    EXPECT_EQ(main.msgForm->Text2->text(), QStringLiteral("2"));
}

TEST_F(MainFormCheckMailTest, LaunchOptionStartsTheTrimmedPathOnceInsteadOfTheBoard) {
    MainForm& main = startWithAccount();
    main.Check2->setChecked(true);
    main.Text7 = QStringLiteral("  /opt/mail/mailer  ");
    main.mcheck_Click();
    EXPECT_EQ(fakes.launcher->started, QStringList{QStringLiteral("/opt/mail/mailer")});
    EXPECT_FALSE(main.msgForm.exists());
    EXPECT_FALSE(sceneStarted());

    fakes.mailLib->messageCount = 0;
    main.mcheck_Click();
    EXPECT_EQ(fakes.launcher->started.size(), 1);
}

TEST_F(MainFormCheckMailTest, LaunchOptionWithoutAMailerDoesNothing) {
    MainForm& main = startWithAccount();
    main.Check2->setChecked(true);
    ASSERT_EQ(main.Text7, QStringLiteral("未設定"));
    main.mcheck_Click();
    EXPECT_TRUE(fakes.launcher->started.isEmpty());
    EXPECT_FALSE(main.msgForm.exists());
    EXPECT_FALSE(sceneStarted());
}

TEST_F(MainFormCheckMailTest, CheckAskedForDuringLoginIsSkipped) {
    MainForm& main = startWithAccount();
    fakes.mailLib->duringAuthenticate = [&main] { main.mcheck_Click(); };
    main.mcheck_Click();
    EXPECT_EQ(connects(), 1);
    EXPECT_FALSE(main.isChecking());

    fakes.mailLib->duringAuthenticate = nullptr;
    main.mcheck_Click();
    EXPECT_EQ(connects(), 2);
}

TEST_F(MainFormCheckMailTest, PollDuringTheOneSecondWaitStartsNoSecondCheck) {
    MainForm& main = startWithAccount();
    main.setForm->Check2->setChecked(true);
    main.setForm->Text2->setText(QStringLiteral("1"));
    main.Text1 = QStringLiteral("1");
    fakes.events->at(300, [&main] { main.Timer1_Timer(); });
    main.mcheck_Click();
    EXPECT_EQ(connects(), 1);
}

TEST_F(MainFormCheckMailTest, HangUpEndsEveryConnectionInOrderAfterACheckWithMail) {
    MainForm& main = startWithAccount();
    main.setForm->Check1->setChecked(true);
    fakes.dialUp->active = QStringList{QStringLiteral("first"), QStringLiteral("second")};
    main.mcheck_Click();
    EXPECT_EQ(fakes.dialUp->hungUp, (QStringList{"first", "second"}));
}

TEST_F(MainFormCheckMailTest, HangUpDoesNothingWhenConnectionsCannotBeListed) {
    MainForm& main = startWithAccount();
    fakes.dialUp->active = std::nullopt;
    main.Command5_Click();
    EXPECT_EQ(fakes.dialUp->enumerations, 1);
    EXPECT_TRUE(fakes.dialUp->hungUp.isEmpty());
}

TEST_F(MainFormCheckMailTest, HangUpIsLeftOutWhenTheOptionIsOff) {
    MainForm& main = startWithAccount();
    fakes.dialUp->active = QStringList{QStringLiteral("first")};
    main.mcheck_Click();
    EXPECT_EQ(fakes.dialUp->enumerations, 0);
}

} // namespace
} // namespace brindle::test
