#include "settings/ServerSettingsDialog.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace brindle::test {
namespace {

class ServerSettingsDialogTest : public MainWindowFixture {
protected:
    void letClosedWindowsGo() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(ServerSettingsDialogTest, OpensOnTopFilledFromTheSharedSettingsNotTheFile) {
    MainWindow& main = start();
    ASSERT_TRUE(main.serverSettingsDialog.exists());
    ServerSettingsDialog* dialog = &main.serverSettingsDialog.get();
    EXPECT_TRUE(std::any_of(fakes.stacking->calls.begin(), fakes.stacking->calls.end(),
                            [&](const auto& call) { return call.first == dialog && call.second; }));
    EXPECT_TRUE(dialog->pop3Edit->text().isEmpty());
    EXPECT_FALSE(dialog->apopBox->isChecked());

    writeServerFile("POP3=from.file\n");
    main.shared.Pop3Server = QStringLiteral("from.memory");
    dialog->close();
    letClosedWindowsGo();
    EXPECT_EQ(main.serverSettingsDialog->pop3Edit->text(), QStringLiteral("from.memory"));
}

TEST_F(ServerSettingsDialogTest, SetStoresTheFourValuesAndTheNextStartTicksApop) {
    MainWindow& main = start();
    ServerSettingsDialog& dialog = main.serverSettingsDialog.get();
    dialog.smtpEdit->setText(QStringLiteral(" smtp.example "));
    dialog.pop3Edit->setText(QStringLiteral("pop3s://mail=x.example:995"));
    dialog.mailAddressEdit->setText(QStringLiteral("太郎@example"));
    dialog.apopBox->setChecked(true);
    dialog.okButton->click();

    EXPECT_EQ(main.shared.ApopFlag, 1);
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("pop3s://mail=x.example:995"));
    EXPECT_EQ(readStored(serverFile()),
              QStringLiteral("SMTP= smtp.example \r\nPOP3=pop3s://mail=x.example:995\r\n"
                             "MAIL=太郎@example\r\nAPOP=1\r\n"));
    EXPECT_FALSE(main.serverSettingsDialog.exists());

    closeMainWindow();
    mainWindow.reset();
    MainWindow& again = start();
    EXPECT_FALSE(again.serverSettingsDialog.exists()); // a POP3 server is known now
    EXPECT_TRUE(again.serverSettingsDialog->apopBox->isChecked());
    EXPECT_EQ(again.serverSettingsDialog->smtpEdit->text(), QStringLiteral(" smtp.example "));
}

TEST_F(ServerSettingsDialogTest, CancelKeepsEverythingAndEnterDoesNotConfirm) {
    MainWindow& main = start();
    ServerSettingsDialog& dialog = main.serverSettingsDialog.get();
    dialog.pop3Edit->setText(QStringLiteral("typed"));
    QTest::keyClick(dialog.pop3Edit, Qt::Key_Return);
    EXPECT_TRUE(main.serverSettingsDialog.exists());
    EXPECT_TRUE(main.shared.Pop3Server.isEmpty());

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(main.serverSettingsDialog.exists());
    EXPECT_TRUE(main.shared.Pop3Server.isEmpty());
    EXPECT_FALSE(QFile::exists(serverFile()));
    letClosedWindowsGo();
    EXPECT_TRUE(main.serverSettingsDialog->pop3Edit->text().isEmpty());
}

TEST_F(ServerSettingsDialogTest, EnterOnAFocusedButtonPressesThatButton) {
    MainWindow& main = start();
    ServerSettingsDialog& dialog = main.serverSettingsDialog.get();
    dialog.pop3Edit->setText(QStringLiteral("pop.example"));
    dialog.okButton->setFocus();
    QTest::keyClick(dialog.okButton, Qt::Key_Enter);
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("pop.example"));
    EXPECT_FALSE(main.serverSettingsDialog.exists());
}

TEST_F(ServerSettingsDialogTest, SettingsThatCannotBeStoredAreNotTakenAndTheUserIsTold) {
    writeServerFile("POP3=old.example\n");
    MainWindow& main = start();
    main.serverSettingsDialog.show();
    ServerSettingsDialog& dialog = main.serverSettingsDialog.get();
    dialog.pop3Edit->setText(QStringLiteral("pop.example"));
    dialog.mailAddressEdit->setText(QStringLiteral("¥@example"));
    dialog.okButton->click();

    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1u);
    EXPECT_TRUE(fakes.messageBoxes->shown[0].text.startsWith(
        QStringLiteral("サーバー設定を保存できませんでした。")));
    EXPECT_TRUE(main.serverSettingsDialog.exists());
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("old.example"));
    EXPECT_EQ(readStored(serverFile()), QStringLiteral("POP3=old.example\r\n"));
}

} // namespace
} // namespace brindle::test
