#include "settings/AccountDialog.h"
#include "settings/BrowserSignIn.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <cstring>

namespace brindle::test {
namespace {

class AccountDialogTest : public MainWindowFixture {
protected:
    QString stored() const { return readStored(accountIni()); }
    AccountDialog& dialogWith(const QString& id, const QString& password, bool save) {
        AccountDialog& dialog = mainWindow->accountDialog.get();
        dialog.idEdit->setText(id);
        dialog.passwordEdit->setText(password);
        dialog.savePasswordBox->setChecked(save);
        return dialog;
    }
};

TEST_F(AccountDialogTest, OkWithTheBoxTickedSavesAllThreeOwnerOnly) {
    start();
    dialogWith(QStringLiteral("taro]"), QStringLiteral("p;w日本"), true).okButton->click();

    EXPECT_EQ(mainWindow->shared.AccountId, QStringLiteral("taro]"));
    EXPECT_EQ(mainWindow->shared.AccountPassword, QStringLiteral("p;w日本"));
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNAME=taro]\r\nNAME2=p;w日本\r\nNAME3=1\r\n"));
    EXPECT_EQ(QFile::permissions(accountIni()),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_FALSE(mainWindow->accountDialog.exists());
}

TEST_F(AccountDialogTest, OkWithoutTheBoxWritesOnlyTheMarkAndKeepsTheSavedAccount) {
    writeAccountIni("[EXEINI]\nNAME=old\nNAME2=oldpw\n");
    start();
    AccountDialog& dialog = mainWindow->accountDialog.get();
    EXPECT_EQ(dialog.idEdit->text(), QStringLiteral("old"));
    EXPECT_EQ(dialog.passwordEdit->echoMode(), QLineEdit::Password);
    dialogWith(QStringLiteral("new"), QStringLiteral("newpw"), false).okButton->click();

    EXPECT_EQ(mainWindow->shared.AccountId, QStringLiteral("new"));
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNAME=old\r\nNAME2=oldpw\r\nNAME3=0\r\n"));
}

TEST_F(AccountDialogTest, CancelEscapeAndTheCloseBoxChangeNothing) {
    start();
    auto cancels = std::vector<std::function<void(AccountDialog&)>>{
        [](AccountDialog& d) { d.cancelButton->click(); },
        [](AccountDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](AccountDialog& d) { d.close(); }};
    for (const auto& cancel : cancels) {
        cancel(dialogWith(QStringLiteral("x"), QStringLiteral("y"), true));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(mainWindow->accountDialog.exists());
        EXPECT_TRUE(mainWindow->shared.AccountId.isEmpty());
        EXPECT_FALSE(QFile::exists(accountIni()));
    }
}

TEST_F(AccountDialogTest, EnterInAFieldPressesOk) {
    start();
    AccountDialog& dialog = dialogWith(QStringLiteral("a"), QStringLiteral("b"), false);
    QTest::keyClick(dialog.passwordEdit, Qt::Key_Return);
    EXPECT_EQ(mainWindow->shared.AccountPassword, QStringLiteral("b"));
    EXPECT_FALSE(mainWindow->accountDialog.exists());
}

TEST_F(AccountDialogTest, EnterOnAFocusedButtonPressesThatButton) {
    start();
    AccountDialog& dialog = dialogWith(QStringLiteral("a"), QStringLiteral("b"), true);
    dialog.cancelButton->setFocus();
    QTest::keyClick(dialog.cancelButton, Qt::Key_Return);
    EXPECT_FALSE(mainWindow->accountDialog.exists());
    EXPECT_TRUE(mainWindow->shared.AccountId.isEmpty());
    EXPECT_FALSE(QFile::exists(accountIni()));
}

TEST_F(AccountDialogTest, AnAccountThatCannotBeStoredIsNotHalfSavedAndTheUserIsTold) {
    writeAccountIni("[EXEINI]\nNAME=old\nNAME2=oldpw\nNAME3=1\n");
    start();
    const QString before = stored();
    dialogWith(QStringLiteral("new"), QStringLiteral("pass¥word"), true).okButton->click();

    EXPECT_EQ(stored(), before);
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1u);
    EXPECT_TRUE(fakes.messageBoxes->shown[0].text.startsWith(
        QStringLiteral("IDとパスワードを保存できませんでした。")));
    EXPECT_TRUE(mainWindow->accountDialog.exists());
    EXPECT_TRUE(mainWindow->shared.AccountId.isEmpty());
}

TEST_F(AccountDialogTest, TheSaveBoxAlwaysStartsUnticked) {
    writeAccountIni("[EXEINI]\nNAME=a\nNAME2=b\nNAME3=1\n");
    start();
    EXPECT_FALSE(mainWindow->accountDialog->savePasswordBox->isChecked());
    dialogWith(QStringLiteral("a"), QStringLiteral("b"), true).okButton->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(mainWindow->accountDialog->savePasswordBox->isChecked());
}

// Records what the dialog asks of the sign-in and answers as the test sets.
class FakeBrowserSignIn : public BrowserSignIn {
public:
    Result signIn(const QString& server, const QString& id) override {
        calls << QStringLiteral("sign in %1 %2").arg(server, id);
        if (duringSignIn) {
            duringSignIn();
        }
        return result;
    }
    std::function<void()> duringSignIn;
    QString signOut(const QString& server, const QString& id) override {
        calls << QStringLiteral("sign out %1 %2").arg(server, id);
        return signOutRefusal;
    }
    Result result;
    QString signOutRefusal; // empty: signed out
    QStringList calls;
};

// The sign-in button: what it stores, what it tells and how the dialog looks after.
struct SignInCase {
    const char* name;
    const char* server;
    const char* id;
    BrowserSignIn::Result result;
    QStringList calls;    // %1: the server, %2: the ID
    const char* stored;   // the account file afterwards; empty: none
    const char* toldPart; // the message shown; empty: none
    bool signedInAfter;
};

void PrintTo(const SignInCase& row, std::ostream* out) {
    *out << row.name;
}

std::string caseName(const ::testing::TestParamInfo<SignInCase>& row) {
    return row.param.name;
}

class AccountSignInTest : public AccountDialogTest,
                          public ::testing::WithParamInterface<SignInCase> {
protected:
    std::unique_ptr<AccountDialog> makeDialog() {
        auto dialog =
            std::make_unique<AccountDialog>(nullptr, ProgramFiles(programFolder.path(), settings),
                                            mainWindow->shared, *fakes.messageBoxes, signIn,
                                            *fakes.desktopAccounts);
        dialog->prepare();
        return dialog;
    }
    FakeBrowserSignIn signIn;
};

TEST_P(AccountSignInTest, TheButtonSignsInThroughTheBrowser) {
    const SignInCase& row = GetParam();
    start();
    fakes.messageBoxes->shown.clear();
    mainWindow->shared.Pop3Server = QString::fromUtf8(row.server);
    signIn.result = row.result;
    auto dialog = makeDialog();
    dialog->idEdit->setText(QString::fromUtf8(row.id));
    dialog->passwordEdit->setText(QStringLiteral("old"));
    // The window manager's close box does nothing while the sign-in runs.
    signIn.duringSignIn = [&dialog] { EXPECT_FALSE(dialog->close()); };
    dialog->signInButton->click();

    QStringList calls;
    for (const QString& call : row.calls) {
        calls << call.arg(QString::fromUtf8(row.server), QString::fromUtf8(row.id));
    }
    EXPECT_EQ(signIn.calls, calls);
    EXPECT_EQ(QFile::exists(accountIni()) ? stored() : QString(), QString::fromUtf8(row.stored));
    ASSERT_EQ(fakes.messageBoxes->shown.size(), std::strlen(row.toldPart) ? 1u : 0u);
    if (std::strlen(row.toldPart)) {
        EXPECT_TRUE(fakes.messageBoxes->shown[0].text.contains(QString::fromUtf8(row.toldPart)));
    }
    EXPECT_EQ(dialog->signInButton->text(), row.signedInAfter
                                                ? QStringLiteral("サインアウト")
                                                : QStringLiteral("ブラウザでサインイン"));
    EXPECT_EQ(dialog->passwordEdit->isEnabled(), !row.signedInAfter);
    EXPECT_TRUE(dialog->desktopAccountButton->isHidden()); // the desktop holds no account
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AccountSignInTest,
    ::testing::Values(
        SignInCase{"SignedIn",
                   "imaps://mail.example",
                   "alice",
                   {true, {}},
                   {QStringLiteral("sign in %1 %2")},
                   "[EXEINI]\r\nNAME=alice\r\nNAME2=\r\nNAME3=1\r\nAUTH=OAUTH2\r\n"
                   "AUTHSERVER=imaps://mail.example\r\n",
                   "",
                   true},
        SignInCase{"Refused",
                   "imaps://mail.example",
                   "alice",
                   {false, QStringLiteral("認可サーバーが拒否")},
                   {QStringLiteral("sign in %1 %2")},
                   "",
                   "認可サーバーが拒否",
                   false},
        SignInCase{"StoppedByTheUser",
                   "imaps://mail.example",
                   "alice",
                   {false, {}},
                   {QStringLiteral("sign in %1 %2")},
                   "",
                   "",
                   false},
        SignInCase{"NoServerYet", "", "alice", {true, {}}, {}, "", "POPサーバー", false},
        SignInCase{"AccountFileCannotHoldTheId",
                   "imaps://mail.example",
                   "al¥ce",
                   {true, {}},
                   {QStringLiteral("sign in %1 %2"), QStringLiteral("sign out %1 %2")},
                   "",
                   "サインインを保存できませんでした",
                   false}),
    caseName);

TEST_F(AccountSignInTest, SigningOutForgetsTheTokensAndGivesThePasswordBack) {
    writeAccountIni("[EXEINI]\nNAME=alice\nNAME2=\nNAME3=1\nAUTH=OAUTH2\n");
    start();
    mainWindow->shared.Pop3Server = QStringLiteral("imaps://mail.example");
    auto dialog = makeDialog();
    EXPECT_TRUE(dialog->hasAccount());
    EXPECT_FALSE(dialog->passwordEdit->isEnabled());
    EXPECT_TRUE(dialog->idEdit->isReadOnly());

    // A keyring that refuses: told, and still signed in.
    signIn.signOutRefusal = QStringLiteral("キーリングなし");
    dialog->signInButton->click();
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1u);
    EXPECT_TRUE(fakes.messageBoxes->shown[0].text.contains(QStringLiteral("キーリングなし")));
    EXPECT_FALSE(dialog->passwordEdit->isEnabled());

    signIn.signOutRefusal.clear();
    dialog->signInButton->click();

    EXPECT_EQ(signIn.calls.size(), 2);
    EXPECT_EQ(signIn.calls.last(), QStringLiteral("sign out imaps://mail.example alice"));
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNAME=alice\r\nNAME2=\r\nNAME3=1\r\nAUTH=\r\n"
                                       "AUTHSERVER=\r\n"));
    EXPECT_TRUE(dialog->passwordEdit->isEnabled());
    EXPECT_FALSE(dialog->hasAccount());
}

// The tokens are kept under the server field of the sign-in: after the field
// changed the account is not shown signed in, and a new sign-in removes the
// old tokens.
TEST_F(AccountSignInTest, ASignInForAnotherServerIsNotThisOnesAndGoesWithTheNext) {
    writeAccountIni("[EXEINI]\nNAME=alice\nNAME3=1\nAUTH=OAUTH2\nAUTHSERVER=imaps://old.example\n");
    start();
    fakes.messageBoxes->shown.clear();
    mainWindow->shared.Pop3Server = QStringLiteral("imaps://mail.example");
    signIn.result = {true, {}};
    auto dialog = makeDialog();
    EXPECT_TRUE(dialog->passwordEdit->isEnabled());

    dialog->signInButton->click();

    EXPECT_EQ(signIn.calls, (QStringList{QStringLiteral("sign in imaps://mail.example alice"),
                                         QStringLiteral("sign out imaps://old.example alice")}));
    EXPECT_TRUE(stored().contains(QStringLiteral("AUTHSERVER=imaps://mail.example\r\n")));
    EXPECT_TRUE(fakes.messageBoxes->shown.empty());
}

// A desktop account brings its server and ID; the files name the account and
// hold nothing secret, which each login asks of the desktop afresh.
TEST_F(AccountDialogTest, ADesktopAccountSignsInWithTheSecretTheDesktopGivesEachLogin) {
    start();
    fakes.desktopAccounts->accounts = {{QStringLiteral("account_7"),
                                        QStringLiteral("taro@example.jp"),
                                        QStringLiteral("IMAP and SMTP"),
                                        QStringLiteral("imaps://mail.example.jp:993"),
                                        QStringLiteral("taro")}};
    AccountDialog& dialog = dialogWith(QStringLiteral("old"), QStringLiteral("old"), false);
    dialog.prepare();
    ASSERT_FALSE(dialog.desktopAccountButton->isHidden());
    ASSERT_EQ(dialog.desktopAccountMenu->actions().size(), 1);
    EXPECT_EQ(dialog.desktopAccountMenu->actions()[0]->text(),
              QStringLiteral("taro@example.jp (IMAP and SMTP)"));
    dialog.desktopAccountMenu->actions()[0]->trigger();

    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNAME=taro\r\nNAME2=\r\nNAME3=1\r\nAUTH=GOA\r\n"
                                       "AUTHSERVER=imaps://mail.example.jp:993\r\n"
                                       "DESKTOPACCOUNT=account_7\r\n"));
    EXPECT_TRUE(readStored(serverFile()).contains(QStringLiteral("POP3=imaps://mail.example.jp:993")));
    EXPECT_FALSE(dialog.passwordEdit->isEnabled());
    EXPECT_FALSE(dialog.signInButton->isEnabled());
    EXPECT_TRUE(dialog.hasAccount());

    mainWindow->mailCheck.checkMail();
    fakes.desktopAccounts->secret = QStringLiteral("デスクトップの設定で直してください");
    mainWindow->mailCheck.checkMail();
    EXPECT_EQ(fakes.desktopAccounts->asked,
              QStringList(2, QStringLiteral("account_7 imaps://mail.example.jp:993")));
    EXPECT_EQ(fakes.mailClient->calls.filter(QStringLiteral("log in")),
              QStringList{QStringLiteral("log in taro desktop-secret USER")});
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1u);
    EXPECT_EQ(fakes.messageBoxes->shown[0].text, QStringLiteral("デスクトップの設定で直してください"));

    // Another server field is not the desktop account's: its secret stays home.
    mainWindow->shared.Pop3Server = QStringLiteral("imaps://other.example");
    mainWindow->mailCheck.checkMail();
    EXPECT_EQ(fakes.desktopAccounts->asked.size(), 2);

    mainWindow->shared.Pop3Server = QStringLiteral("imaps://mail.example.jp:993");
    dialog.prepare();
    dialog.desktopAccountButton->click();
    EXPECT_TRUE(stored().contains(QStringLiteral("AUTH=\r\nAUTHSERVER=\r\nDESKTOPACCOUNT=\r\n")));
    EXPECT_TRUE(dialog.passwordEdit->isEnabled());
}

} // namespace
} // namespace brindle::test
