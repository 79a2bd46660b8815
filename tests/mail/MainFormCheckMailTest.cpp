#include "settings/IdPassForm.h"
#include "settings/SetForm.h"
#include "shell/MsgForm.h"
#include "support/MainFormFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <algorithm>

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
    qsizetype tuneCallsAtStart = 0;
};

TEST_F(MainFormCheckMailTest, ThreeMessagesAreFetchedInOrderAndTheSessionClosed) {
    startWithAccount().mcheck_Click();
    EXPECT_EQ(fakes.mailClient->calls,
              (QStringList{"open mail.example", "log in taro secret USER", "header 1", "size 1",
                           "fetch 1", "header 2", "size 2", "fetch 2", "header 3", "size 3",
                           "fetch 3", "close"}));
}

TEST_F(MainFormCheckMailTest, ApopLogsInWithApop) {
    MainForm& main = startWithAccount("POP3=mail.example\nAPOP=1\n");
    fakes.mailClient->messageCount = 0;
    main.Command8_Click();
    EXPECT_EQ(fakes.mailClient->calls,
              (QStringList{"open mail.example", "log in taro secret APOP", "close"}));
}

TEST_F(MainFormCheckMailTest, NoServerMakesNoConnectionButStillHangsUp) {
    MainForm& main = startWithAccount("SMTP=smtp.example\n");
    main.setForm->Check1->setChecked(true);
    fakes.dialUpLinks->activeLinks = QStringList{QStringLiteral("line1")};
    main.mcheck_Click();
    EXPECT_TRUE(fakes.mailClient->calls.isEmpty());
    EXPECT_EQ(fakes.dialUpLinks->hungUp, QStringList{QStringLiteral("line1")});
}

TEST_F(MainFormCheckMailTest, FailedConnectionMakesNoFurtherCall) {
    MainForm& main = startWithAccount();
    fakes.mailClient->connects = false;
    main.mcheck_Click();
    EXPECT_EQ(fakes.mailClient->calls, QStringList{QStringLiteral("open mail.example")});
    EXPECT_FALSE(main.msgForm.exists());
}

TEST_F(MainFormCheckMailTest, MissingPasswordOpensTheAccountDialogAndClosesWithoutLogin) {
    MainForm& main = startWithAccount("POP3=mail.example\n", "[EXEINI]\nNAME=taro\n");
    main.idPassForm->hide();
    main.mcheck_Click();
    EXPECT_EQ(fakes.mailClient->calls, (QStringList{"open mail.example", "close"}));
    EXPECT_TRUE(main.idPassForm->isVisible());
    EXPECT_EQ(main.idPassForm->IdText->text(), QStringLiteral("taro"));
    EXPECT_FALSE(main.msgForm.exists());
}

TEST_F(MainFormCheckMailTest, WrongPasswordShowsOneErrorBoxThenCloses) {
    MainForm& main = startWithAccount();
    fakes.mailClient->errorText = QStringLiteral("ログインできません");
    QStringList callsWhileOpen;
    fakes.messageBoxes->whileOpen = [&] { callsWhileOpen = fakes.mailClient->calls; };
    main.mcheck_Click();

    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    const FakeMessageBoxes::Shown& box = fakes.messageBoxes->shown.front();
    EXPECT_EQ(box.text, QStringLiteral("ログインできません"));
    EXPECT_EQ(box.caption, QStringLiteral("エラー"));
    EXPECT_EQ(box.icon, MessageBoxes::Icon::None);
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
    EXPECT_FALSE(callsWhileOpen.contains(QStringLiteral("close")));
    EXPECT_EQ(fakes.mailClient->calls.last(), QStringLiteral("close"));
    EXPECT_FALSE(main.msgForm.exists());
    EXPECT_FALSE(sceneStarted());
}

TEST_F(MainFormCheckMailTest, EmptyMailboxShowsNothing) {
    MainForm& main = startWithAccount();
    fakes.mailClient->messageCount = 0;
    main.mcheck_Click();
    EXPECT_EQ(fakes.mailClient->calls,
              (QStringList{"open mail.example", "log in taro secret USER", "close"}));
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
    fakes.mailClient->messageCount = 0;
    main.mcheck_Click();

    EXPECT_TRUE(fakes.mailClient->calls.contains(QStringLiteral("log in jiro typed USER")));
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
    const std::int64_t before = fakes.clock->now;
    main.mcheck_Click();

    EXPECT_TRUE(visibleDuringWait);
    EXPECT_FALSE(sceneDuringWait);
    EXPECT_GT(fakes.clock->now - before, 1000);
    EXPECT_FALSE(main.msgForm.exists());
    EXPECT_TRUE(sceneStarted());
}

TEST_F(MainFormCheckMailTest, BoardLeftOpenIsRefilledByTheNextCheckAndKeptByAnEmptyOne) {
    MainForm& main = startWithAccount();
    main.mcheck_Click();
    ASSERT_TRUE(main.msgForm.exists());
    const MsgForm* first = &main.msgForm.get();

    fakes.mailClient->messageCount = 2;
    main.mcheck_Click();
    ASSERT_TRUE(main.msgForm.exists());
    EXPECT_EQ(&main.msgForm.get(), first);
    EXPECT_EQ(main.msgForm->Text2->text(), QStringLiteral("2"));
    EXPECT_EQ(boardTopmostCalls(main), 1);

    fakes.mailClient->messageCount = 0;
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

    fakes.mailClient->messageCount = 0;
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
    fakes.mailClient->duringLogIn = [&main] { main.mcheck_Click(); };
    main.mcheck_Click();
    EXPECT_EQ(connects(), 1);
    EXPECT_FALSE(main.isChecking());

    fakes.mailClient->duringLogIn = nullptr;
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
    fakes.dialUpLinks->activeLinks = QStringList{QStringLiteral("first"), QStringLiteral("second")};
    main.mcheck_Click();
    EXPECT_EQ(fakes.dialUpLinks->hungUp, (QStringList{"first", "second"}));
}

TEST_F(MainFormCheckMailTest, HangUpDoesNothingWhenConnectionsCannotBeListed) {
    MainForm& main = startWithAccount();
    fakes.dialUpLinks->activeLinks = std::nullopt;
    main.Command5_Click();
    EXPECT_EQ(fakes.dialUpLinks->listings, 1);
    EXPECT_TRUE(fakes.dialUpLinks->hungUp.isEmpty());
}

TEST_F(MainFormCheckMailTest, HangUpIsLeftOutWhenTheOptionIsOff) {
    MainForm& main = startWithAccount();
    fakes.dialUpLinks->activeLinks = QStringList{QStringLiteral("first")};
    main.mcheck_Click();
    EXPECT_EQ(fakes.dialUpLinks->listings, 0);
}

} // namespace
} // namespace brindle::test
