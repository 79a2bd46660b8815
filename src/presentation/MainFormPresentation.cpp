// Presentation on the main window: the tunes, the scene pages, the tray icon
// and its pop-up menu, always-in-front, the settings window and the home page.
#include "presentation/SceneView.h"
#include "presentation/TrayIcon.h"
#include "presentation/UrlOpener.h"
#include "presentation/sound/TunePlayer.h"
#include "settings/SetForm.h"
#include "shell/MainForm.h"
#include "shell/MessageBoxes.h"
#include "shell/WindowStacking.h"

#include <QCursor>
#include <QDateTime>
#include <QLocale>
#include <QMenu>

namespace brindle {

namespace {

constexpr char HomePage[] = "https://quillworks.example/brindle/";

} // namespace

void MainForm::openAndPlayTune(const QString& backslashSuffix) {
    platform_.tunePlayer->open(programFile(backslashSuffix));
    platform_.tunePlayer->play();
    Timer2.setEnabled(true);
}

void MainForm::stopTune() {
    platform_.tunePlayer->stop();
    platform_.tunePlayer->close();
}

void MainForm::Command2_Click() {
    openAndPlayTune(QStringLiteral("\\Sound\\Kouka.mid"));
}

void MainForm::Command3_Click() {
    stopTune();
    Timer2.setEnabled(false);
}

void MainForm::Timer2_Timer() {
    if (!platform_.tunePlayer->isStopped()) {
        return;
    }
    if (Check1 != 0) {
        platform_.tunePlayer->playFromStart();
    } else {
        stopTune();
        Timer2.setEnabled(false);
    }
}

void MainForm::mebent_Click() {
    stopTune();
    WebBrowser1->Navigate(scenePage(QStringLiteral("Kakasi.htm")));
    openAndPlayTune(QStringLiteral("\\Sound\\Kouka2.mid"));
}

void MainForm::mmodosu_Click() {
    WebBrowser1->Navigate(scenePage(QStringLiteral("Fish.htm")));
    stopTune();
    Timer2.setEnabled(false);
}

void MainForm::mtask_Click() {
    Command1_Click();
}

// Without a system tray the window is minimised instead, so the user can
// always get it back.
void MainForm::Command1_Click() {
    TrayIcon& tray = *platform_.tray;
    if (!tray.isAvailable()) {
        showMinimized();
        return;
    }
    tray.setIcon(windowIcon());
    tray.setText(QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
    tray.show();
    hide();
}

void MainForm::onTrayActivated(TrayIcon::Activation reason) {
    if (reason == TrayIcon::Activation::Click) {
        platform_.messageBoxes->show(QStringLiteral("Clicked!"), QStringLiteral("Brindle"),
                                     MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    } else {
        trayMenu->exec(QCursor::pos());
    }
}

void MainForm::mzenmen_Click() {
    platform_.stacking->setTopmost(*this, true);
}

void MainForm::mkaijyo_Click() {
    platform_.stacking->setTopmost(*this, false);
}

void MainForm::mset2_Click() {
    Command9_Click();
}

void MainForm::Command9_Click() {
    setForm.Show();
}

void MainForm::mhp_Click() {
    Command10_Click();
}

void MainForm::Command10_Click() {
    Picture10_Click();
}

void MainForm::Picture10_Click() {
    const auto answer = platform_.messageBoxes->show(
        QStringLiteral("「Quillworks」作者のホームページです。ちょっと見てみますか？"),
        QStringLiteral("確認"), MessageBoxes::Icon::Question, MessageBoxes::Buttons::YesNo);
    if (answer == MessageBoxes::Answer::Yes &&
        !platform_.urlOpener->open(QUrl(QString::fromUtf8(HomePage)))) {
        qWarning("The web browser could not be started.");
    }
}

} // namespace brindle
