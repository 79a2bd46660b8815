#include "settings/IdPassForm.h"
#include "settings/OptionForm.h"
#include "settings/SetForm.h"
#include "settings/core/Cp932.h"
#include "support/MainFormFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

namespace brindle::test {
namespace {

using StartupShutdownTest = MainFormFixture;

TEST_F(StartupShutdownTest, FirstStartInAnEmptyProgramFolderOpensBothDialogsWithDefaults) {
    MainForm& main = start();

    EXPECT_EQ(main.Text7, QStringLiteral("未設定"));
    EXPECT_FALSE(main.Check2->isChecked());
    EXPECT_EQ(main.setForm->Text2->text(), QStringLiteral("0"));
    EXPECT_FALSE(main.setForm->isVisible());
    ASSERT_TRUE(main.optionForm.exists());
    EXPECT_TRUE(main.optionForm->isVisible());
    EXPECT_TRUE(main.idPassForm->isVisible());
    // The main window is made topmost first of all.
    ASSERT_FALSE(fakes.stacking->calls.empty());
    EXPECT_EQ(fakes.stacking->calls.front(), (std::pair<QWidget*, bool>(&main, true)));
    EXPECT_EQ(fakes.scene->pages,
              QStringList{programFolder.path() + QStringLiteral("/画像データ/Fish.htm")});
    EXPECT_EQ(fakes.media->commands, (QStringList{"stop bgm", "close bgm"}));
    EXPECT_EQ(fakes.mailLib->calls, (QStringList{"init", "option 1 8192"}));
}

TEST_F(StartupShutdownTest, AProgramFolderWithUrlCharactersInItsNameStillShowsItsPages) {
    const QString folder = programFolder.makeFolder(QStringLiteral("a#b?c%41"));
    form = std::make_unique<MainForm>(makeFakePlatform(folder, fakes));
    EXPECT_EQ(fakes.scene->pages, QStringList{folder + QStringLiteral("/画像データ/Fish.htm")});
}

TEST_F(StartupShutdownTest, FirstRunAndShutdownLeaveTheMainSettingsInShiftJisWithCrLf) {
    start();
    closeMainWindow();

    const auto expected =
        Cp932::encode(QStringLiteral("[EXEINI]\r\nNUMBER2=0\r\nNAME=未設定\r\nNUMBER3=0\r\n"));
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(programFolder.read(QStringLiteral("★MailData/ini.ini")), *expected);
    EXPECT_EQ(fakes.programEnd->ends, 1);
    EXPECT_EQ(fakes.mailLib->calls.last(), QStringLiteral("end"));
    EXPECT_EQ(fakes.media->commands.mid(2), (QStringList{"stop bgm", "close bgm"}));
    EXPECT_FALSE(form->Timer2.Enabled());
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
    MainForm& main = start();

    EXPECT_FALSE(main.setForm->Check1->isChecked());
    EXPECT_TRUE(main.setForm->Check2->isChecked());
    EXPECT_EQ(main.setForm->Text2->text(), QStringLiteral("15"));
    EXPECT_EQ(main.Timer3.Interval(), 1000);
    EXPECT_EQ(main.Text7, QStringLiteral("未設定"));
    EXPECT_TRUE(main.Check2->isChecked());
    EXPECT_FALSE(main.optionForm.exists());
    EXPECT_FALSE(main.idPassForm->isVisible());
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("mail.example"));
}

TEST_F(StartupShutdownTest, LaunchOptionAndMailerPathSurviveARestart) {
    writeMainIni("[EXEINI]\nNAME=/opt/メール/mailer\n");
    start().Check2->setChecked(true);
    closeMainWindow();
    form.reset();

    MainForm& again = start();
    EXPECT_TRUE(again.Check2->isChecked());
    EXPECT_EQ(again.Text7, QStringLiteral("/opt/メール/mailer"));
}

TEST_F(StartupShutdownTest, TheServerFileIsReadFromTheWorkingDirectoryOnly) {
    programFolder.write(QStringLiteral("lunaro.ini"), "POP3=mail.example\r\n");
    MainForm& main = start();
    EXPECT_TRUE(main.shared.Pop3Server.isEmpty());
    EXPECT_TRUE(main.optionForm.exists());
}

TEST_F(StartupShutdownTest, PerUserSettingsHoldAllThreeFilesWhateverTheWorkingDirectory) {
    const TempFolder home;
    settings = SettingsLocation::perUser(home.file(QStringLiteral(".config")));
    writeServerFile("POP3=mail.example\n");
    writeAccountIni("[EXEINI]\nNAME=taro\nNAME2=secret\n");
    MainForm& main = start();
    EXPECT_EQ(main.shared.Pop3Server, QStringLiteral("mail.example"));
    EXPECT_FALSE(main.idPassForm->isVisible());

    main.optionForm.Show();
    main.optionForm->Pop3Text->setText(QStringLiteral("other.example"));
    main.optionForm->OkCommand->click();
    closeMainWindow();

    EXPECT_TRUE(readStored(home.file(QStringLiteral(".config/brindle/lunaro.ini")))
                    .contains(QStringLiteral("POP3=other.example\r\n")));
    EXPECT_TRUE(readStored(home.file(QStringLiteral(".config/brindle/★MailData/ini.ini")))
                    .contains(QStringLiteral("NAME=未設定\r\n")));
    EXPECT_TRUE(QDir(workingFolder.path()).isEmpty());
    EXPECT_TRUE(QDir(programFolder.file(QStringLiteral("★MailData"))).isEmpty());
}

TEST_F(StartupShutdownTest, EndingWithTheSettingsWindowOpenKeepsItsEdits) {
    MainForm& main = start();
    main.setForm.Show();
    main.setForm->Check1->setChecked(true);
    main.setForm->Text2->setText(QStringLiteral("3"));
    closeMainWindow();

    const QString stored = readStored(mainIni());
    EXPECT_TRUE(stored.contains(QStringLiteral("NUMBER=1\r\n")));
    EXPECT_TRUE(stored.contains(QStringLiteral("NUMBER2=3\r\n")));
    EXPECT_TRUE(stored.contains(QStringLiteral("NUMBER4=0\r\n")));
}

TEST_F(StartupShutdownTest, EndingWithTheSettingsWindowHiddenWritesNothingOfIt) {
    MainForm& main = start();
    main.setForm->Check1->setChecked(true);
    closeMainWindow();
    EXPECT_FALSE(readStored(mainIni()).contains(QStringLiteral("NUMBER=")));
}

} // namespace
} // namespace brindle::test
