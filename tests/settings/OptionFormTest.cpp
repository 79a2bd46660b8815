#include "settings/OptionForm.h"
#include "support/MainFormFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace brindle::test {
namespace {

class OptionFormTest : public MainFormFixture {
protected:
    void letClosedWindowsGo() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(OptionFormTest, OpensOnTopFilledFromTheSharedSettingsNotTheFile) {
    MainForm& main = start();
    ASSERT_TRUE(main.optionForm.exists());
    OptionForm* dialog = &main.optionForm.get();
    EXPECT_TRUE(std::any_of(fakes.stacking->calls.begin(), fakes.stacking->calls.end(),
                            [&](const auto& call) { return call.first == dialog && call.second; }));
    EXPECT_TRUE(dialog->Pop3Text->text().isEmpty());
    EXPECT_FALSE(dialog->ApopCheck->isChecked());

    writeServerFile("POP3=from.file\n");
    main.shared.Pop3Server = QStringLiteral("from.memory");
    dialog->close();
    letClosedWindowsGo();
    EXPECT_EQ(main.optionForm->Pop3Text->text(), QStringLiteral("from.memory"));
}

TEST_F(OptionFormTest, SetStoresTheFourValuesAndTheNextStartTicksApop) {
    MainForm& main = start();
    OptionForm& dialog = main.optionForm.get();
    dialog.SmtpText->setText(QStringLiteral(" smtp.example "));
    dialog.Pop3Text->setText(QStringLiteral("pop3s://mail=x.example:995"));
    dialog.MailText->setText(QStringLiteral("太郎@example"));
    dialog.ApopCheck->setChecked(true);
    dialog.OkCommand->click();

    EXPECT_EQ(main.shared.ApopFlag, 1);
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("pop3s://mail=x.example:995"));
    EXPECT_EQ(readStored(serverFile()),
              QStringLiteral("SMTP= smtp.example \r\nPOP3=pop3s://mail=x.example:995\r\n"
                             "MAIL=太郎@example\r\nAPOP=1\r\n"));
    EXPECT_FALSE(main.optionForm.exists());

    closeMainWindow();
    form.reset();
    MainForm& again = start();
    EXPECT_FALSE(again.optionForm.exists()); // a POP3 server is known now
    EXPECT_TRUE(again.optionForm->ApopCheck->isChecked());
    EXPECT_EQ(again.optionForm->SmtpText->text(), QStringLiteral(" smtp.example "));
}

TEST_F(OptionFormTest, CancelKeepsEverythingAndEnterDoesNotConfirm) {
    MainForm& main = start();
    OptionForm& dialog = main.optionForm.get();
    dialog.Pop3Text->setText(QStringLiteral("typed"));
    QTest::keyClick(dialog.Pop3Text, Qt::Key_Return);
    EXPECT_TRUE(main.optionForm.exists());
    EXPECT_TRUE(main.shared.Pop3Server.isEmpty());

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(main.optionForm.exists());
    EXPECT_TRUE(main.shared.Pop3Server.isEmpty());
    EXPECT_FALSE(QFile::exists(serverFile()));
    letClosedWindowsGo();
    EXPECT_TRUE(main.optionForm->Pop3Text->text().isEmpty());
}

TEST_F(OptionFormTest, EnterOnAFocusedButtonPressesThatButton) {
    MainForm& main = start();
    OptionForm& dialog = main.optionForm.get();
    dialog.Pop3Text->setText(QStringLiteral("pop.example"));
    dialog.OkCommand->setFocus();
    QTest::keyClick(dialog.OkCommand, Qt::Key_Enter);
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("pop.example"));
    EXPECT_FALSE(main.optionForm.exists());
}

TEST_F(OptionFormTest, SettingsThatCannotBeStoredAreNotTakenAndTheUserIsTold) {
    writeServerFile("POP3=old.example\n");
    MainForm& main = start();
    main.optionForm.Show();
    OptionForm& dialog = main.optionForm.get();
    dialog.Pop3Text->setText(QStringLiteral("pop.example"));
    dialog.MailText->setText(QStringLiteral("¥@example"));
    dialog.OkCommand->click();

    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1u);
    EXPECT_TRUE(fakes.messageBoxes->shown[0].text.startsWith(
        QStringLiteral("サーバー設定を保存できませんでした。")));
    EXPECT_TRUE(main.optionForm.exists());
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("old.example"));
    EXPECT_EQ(readStored(serverFile()), QStringLiteral("POP3=old.example\r\n"));
}

} // namespace
} // namespace brindle::test
