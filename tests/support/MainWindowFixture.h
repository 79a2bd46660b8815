#pragma once

#include "app/MainWindow.h"
#include "mail/MailCheck.h"
#include "mail/Mailer.h"
#include "mail/StatusLamp.h"
#include "mail/TimedChecking.h"
#include "presentation/SceneAndTune.h"
#include "presentation/TrayResidence.h"
#include "settings/AccountDialog.h"
#include "settings/MailboxEditor.h"
#include "settings/MailboxListWindow.h"
#include "settings/ServerSettingsDialog.h"
#include "settings/SettingsWindow.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>
#include <memory>

namespace brindle::test {

// A main window on fakes, with a program folder (holding ★MailData) and a
// working directory of its own. The settings lie beside the program unless a
// test points them elsewhere before start().
class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture();
    ~MainWindowFixture() override;

    // Starts the program: creates the main window, which restores its settings.
    MainWindow& start();
    // Closes the main window the way its close box does.
    void closeMainWindow();

    QString mainIni() const { return settings.folder + QStringLiteral("/★MailData/ini.ini"); }
    QString accountIni() const {
        return settings.folder + QStringLiteral("/★MailData/iniIdPass.ini");
    }
    QString serverFile() const { return QDir(workingFolder.path()).filePath(settings.serverFile); }
    // Writes a settings file as the program stores them: Shift-JIS text, CR LF.
    void writeMainIni(const QByteArray& utf8Lines);
    void writeAccountIni(const QByteArray& utf8Lines);
    void writeServerFile(const QByteArray& utf8Lines);
    // The file's text decoded from Shift-JIS, with its CR LF line ends kept.
    QString readStored(const QString& path) const;

    TempFolder programFolder;
    TempFolder workingFolder;
    SettingsLocation settings = SettingsLocation::besideProgram(programFolder.path());
    Fakes fakes{};
    std::unique_ptr<MainWindow> mainWindow;

private:
    QString previousDirectory_;
};

} // namespace brindle::test
