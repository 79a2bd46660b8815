#include "settings/IdPassForm.h"
#include "support/MainFormFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace brindle::test {
namespace {

class IdPassFormTest : public MainFormFixture {
protected:
    QString stored() const { return readStored(accountIni()); }
    IdPassForm& dialogWith(const QString& id, const QString& password, bool save) {
        IdPassForm& dialog = form->idPassForm.get();
        dialog.IdText->setText(id);
        dialog.PassText->setText(password);
        dialog.Check1->setChecked(save);
        return dialog;
    }
};

TEST_F(IdPassFormTest, OkWithTheBoxTickedSavesAllThreeOwnerOnly) {
    start();
    dialogWith(QStringLiteral("taro]"), QStringLiteral("p;w日本"), true).OKCommand->click();

    EXPECT_EQ(form->shared.AccountId, QStringLiteral("taro]"));
    EXPECT_EQ(form->shared.AccountPassword, QStringLiteral("p;w日本"));
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNAME=taro]\r\nNAME2=p;w日本\r\nNAME3=1\r\n"));
    EXPECT_EQ(QFile::permissions(accountIni()),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_FALSE(form->idPassForm.exists());
}

TEST_F(IdPassFormTest, OkWithoutTheBoxWritesOnlyTheMarkAndKeepsTheSavedAccount) {
    writeAccountIni("[EXEINI]\nNAME=old\nNAME2=oldpw\n");
    start();
    IdPassForm& dialog = form->idPassForm.get();
    EXPECT_EQ(dialog.IdText->text(), QStringLiteral("old"));
    EXPECT_EQ(dialog.PassText->echoMode(), QLineEdit::Password);
    dialogWith(QStringLiteral("new"), QStringLiteral("newpw"), false).OKCommand->click();

    EXPECT_EQ(form->shared.AccountId, QStringLiteral("new"));
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNAME=old\r\nNAME2=oldpw\r\nNAME3=0\r\n"));
}

TEST_F(IdPassFormTest, CancelEscapeAndTheCloseBoxChangeNothing) {
    start();
    auto cancels = std::vector<std::function<void(IdPassForm&)>>{
        [](IdPassForm& d) { d.CancelCommand->click(); },
        [](IdPassForm& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](IdPassForm& d) { d.close(); }};
    for (const auto& cancel : cancels) {
        cancel(dialogWith(QStringLiteral("x"), QStringLiteral("y"), true));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(form->idPassForm.exists());
        EXPECT_TRUE(form->shared.AccountId.isEmpty());
        EXPECT_FALSE(QFile::exists(accountIni()));
    }
}

TEST_F(IdPassFormTest, EnterInAFieldPressesOk) {
    start();
    IdPassForm& dialog = dialogWith(QStringLiteral("a"), QStringLiteral("b"), false);
    QTest::keyClick(dialog.PassText, Qt::Key_Return);
    EXPECT_EQ(form->shared.AccountPassword, QStringLiteral("b"));
    EXPECT_FALSE(form->idPassForm.exists());
}

TEST_F(IdPassFormTest, EnterOnAFocusedButtonPressesThatButton) {
    start();
    IdPassForm& dialog = dialogWith(QStringLiteral("a"), QStringLiteral("b"), true);
    dialog.CancelCommand->setFocus();
    QTest::keyClick(dialog.CancelCommand, Qt::Key_Return);
    EXPECT_FALSE(form->idPassForm.exists());
    EXPECT_TRUE(form->shared.AccountId.isEmpty());
    EXPECT_FALSE(QFile::exists(accountIni()));
}

TEST_F(IdPassFormTest, AnAccountThatCannotBeStoredIsNotHalfSavedAndTheUserIsTold) {
    writeAccountIni("[EXEINI]\nNAME=old\nNAME2=oldpw\nNAME3=1\n");
    start();
    const QString before = stored();
    dialogWith(QStringLiteral("new"), QStringLiteral("pass¥word"), true).OKCommand->click();

    EXPECT_EQ(stored(), before);
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1u);
    EXPECT_TRUE(fakes.messageBoxes->shown[0].text.startsWith(
        QStringLiteral("IDとパスワードを保存できませんでした。")));
    EXPECT_TRUE(form->idPassForm.exists());
    EXPECT_TRUE(form->shared.AccountId.isEmpty());
}

TEST_F(IdPassFormTest, TheSaveBoxAlwaysStartsUnticked) {
    writeAccountIni("[EXEINI]\nNAME=a\nNAME2=b\nNAME3=1\n");
    start();
    EXPECT_FALSE(form->idPassForm->Check1->isChecked());
    dialogWith(QStringLiteral("a"), QStringLiteral("b"), true).OKCommand->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(form->idPassForm->Check1->isChecked());
}

} // namespace
} // namespace brindle::test
