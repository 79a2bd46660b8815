#include "settings/AccountDialog.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

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

} // namespace
} // namespace brindle::test
