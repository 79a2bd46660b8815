#include "settings/AccountDialog.h"
#include "settings/ServerSettingsDialog.h"
#include "settings/SettingsWindow.h"
#include "settings/core/Cp932.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace brindle::test {
namespace {

using StartupShutdownTest = MainWindowFixture;

TEST_F(StartupShutdownTest, FirstStartInAnEmptyProgramFolderOpensBothDialogsWithDefaults) {
    MainWindow& main = start();

    EXPECT_EQ(main.mailer->path(), QStringLiteral("未設定"));
    EXPECT_FALSE(main.launchMailerBox->isChecked());
    EXPECT_EQ(main.settingsWindow->intervalEdit->text(), QStringLiteral("0"));
    EXPECT_FALSE(main.settingsWindow->isVisible());
    ASSERT_TRUE(main.serverSettingsDialog.exists());
    EXPECT_TRUE(main.serverSettingsDialog->isVisible());
    EXPECT_TRUE(main.accountDialog->isVisible());
    // The main window is made topmost first of all.
    ASSERT_FALSE(fakes.stacking->calls.empty());
    EXPECT_EQ(fakes.stacking->calls.front(), (std::pair<QWidget*, bool>(&main, true)));
    EXPECT_EQ(fakes.scene->pages,
              QStringList{programFolder.path() + QStringLiteral("/画像データ/Fish.htm")});
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{"stop", "close"}));
    EXPECT_TRUE(fakes.mailClient->calls.isEmpty());
}

TEST_F(StartupShutdownTest, AProgramFolderWithUrlCharactersInItsNameStillShowsItsPages) {
    const QString folder = programFolder.makeFolder(QStringLiteral("a#b?c%41"));
    mainWindow = std::make_unique<MainWindow>(makeFakePlatform(folder, fakes));
    EXPECT_EQ(fakes.scene->pages, QStringList{folder + QStringLiteral("/画像データ/Fish.htm")});
}

TEST_F(StartupShutdownTest, FirstRunAndShutdownLeaveTheMainSettingsInShiftJisWithCrLf) {
    start();
    closeMainWindow();

    const auto expected = Cp932::encode(
        QStringLiteral("[EXEINI]\r\nNUMBER2=0\r\nNAME=未設定\r\nNUMBER3=0\r\nNOTIFY=1\r\n"));
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(programFolder.read(QStringLiteral("★MailData/ini.ini")), *expected);
    EXPECT_EQ(fakes.programEnd->ends, 1);
    EXPECT_EQ(fakes.tunePlayer->calls.mid(2), (QStringList{"stop", "close"}));
    EXPECT_FALSE(mainWindow->sceneAndTune->watcher().isEnabled());
}

TEST_F(StartupShutdownTest, AMissingSettingsFolderIsNeverCreated) {
    QDir(programFolder.file(QStringLiteral("★MailData"))).removeRecursively();
    start();
    closeMainWindow();
    EXPECT_FALSE(programFolder.exists(QStringLiteral("★MailData")));
    EXPECT_EQ(fakes.programEnd->ends, 1);
}

TEST_F(StartupShutdownTest, StoredValuesComeBackAndUnknownTicksLeaveBoxesAlone) {
    writeMainIni("[EXEINI]\nNUMBER=2\nNUMBER2=15\nNAME=\nNUMBER3=1\nNUMBER4=1\n");
    writeServerFile("POP3=mail.example\n");
    writeAccountIni("[EXEINI]\nNAME=taro\nNAME2=secret\n");
    MainWindow& main = start();

    EXPECT_FALSE(main.settingsWindow->hangUpBox->isChecked());
    EXPECT_TRUE(main.settingsWindow->autoCloseBoardBox->isChecked());
    EXPECT_EQ(main.settingsWindow->intervalEdit->text(), QStringLiteral("15"));
    EXPECT_EQ(main.timedChecking.countTimer().interval(), 1000);
    EXPECT_EQ(main.mailer->path(), QStringLiteral("未設定"));
    EXPECT_TRUE(main.launchMailerBox->isChecked());
    EXPECT_FALSE(main.serverSettingsDialog.exists());
    EXPECT_FALSE(main.accountDialog->isVisible());
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("mail.example"));
}

TEST_F(StartupShutdownTest, LaunchOptionAndMailerPathSurviveARestart) {
    writeMainIni("[EXEINI]\nNAME=/opt/メール/mailer\n");
    start().launchMailerBox->setChecked(true);
    closeMainWindow();
    mainWindow.reset();

    MainWindow& again = start();
    EXPECT_TRUE(again.launchMailerBox->isChecked());
    EXPECT_EQ(again.mailer->path(), QStringLiteral("/opt/メール/mailer"));
}

TEST_F(StartupShutdownTest, TheServerFileIsReadFromTheWorkingDirectoryOnly) {
    programFolder.write(QStringLiteral("lunaro.ini"), "POP3=mail.example\r\n");
    MainWindow& main = start();
    EXPECT_TRUE(main.shared.Pop3Server.isEmpty());
    EXPECT_TRUE(main.serverSettingsDialog.exists());
}

TEST_F(StartupShutdownTest, PerUserSettingsHoldAllThreeFilesWhateverTheWorkingDirectory) {
    const TempFolder home;
    settings = SettingsLocation::perUser(home.file(QStringLiteral(".config")));
    writeServerFile("POP3=mail.example\n");
    writeAccountIni("[EXEINI]\nNAME=taro\nNAME2=secret\n");
    MainWindow& main = start();
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("mail.example"));
    EXPECT_FALSE(main.accountDialog->isVisible());

    main.serverSettingsDialog.show();
    main.serverSettingsDialog->pop3Edit->setText(QStringLiteral("other.example"));
    main.serverSettingsDialog->okButton->click();
    closeMainWindow();

    EXPECT_TRUE(readStored(home.file(QStringLiteral(".config/brindle/lunaro.ini")))
                    .contains(QStringLiteral("POP3=other.example\r\n")));
    EXPECT_TRUE(readStored(home.file(QStringLiteral(".config/brindle/★MailData/ini.ini")))
                    .contains(QStringLiteral("NAME=未設定\r\n")));
    EXPECT_TRUE(QDir(workingFolder.path()).isEmpty());
    EXPECT_TRUE(QDir(programFolder.file(QStringLiteral("★MailData"))).isEmpty());
}

TEST_F(StartupShutdownTest, EndingWithTheSettingsWindowOpenKeepsItsEdits) {
    MainWindow& main = start();
    main.settingsWindow.show();
    main.settingsWindow->hangUpBox->setChecked(true);
    main.settingsWindow->intervalEdit->setText(QStringLiteral("3"));
    closeMainWindow();

    const QString stored = readStored(mainIni());
    EXPECT_TRUE(stored.contains(QStringLiteral("NUMBER=1\r\n")));
    EXPECT_TRUE(stored.contains(QStringLiteral("NUMBER2=3\r\n")));
    EXPECT_TRUE(stored.contains(QStringLiteral("NUMBER4=0\r\n")));
}

TEST_F(StartupShutdownTest, EndingWithTheSettingsWindowHiddenWritesNothingOfIt) {
    MainWindow& main = start();
    main.settingsWindow->hangUpBox->setChecked(true);
    closeMainWindow();
    EXPECT_FALSE(readStored(mainIni()).contains(QStringLiteral("NUMBER=")));
}

} // namespace
} // namespace brindle::test
