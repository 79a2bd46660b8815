// Presentation on the main window: the tunes, the scene pages, the tray icon
// and its pop-up menu, always-in-front, the settings window and the home page.
#include "presentation/SceneView.h"
#include "presentation/TrayIcon.h"
#include "presentation/UrlOpener.h"
#include "presentation/sound/MediaControl.h"
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

QString openCommand(const QString& tunePath) {
    return QStringLiteral("open \"") + tunePath + QStringLiteral("\" alias bgm");
}

} // namespace

void MainForm::Command2_Click() {
    MediaControl& media = *platform_.media;
    media.mciSendString(openCommand(programFile(QStringLiteral("\\Sound\\Kouka.mid"))));
    media.mciSendString(QStringLiteral("play bgm"));
    Timer2.setEnabled(true);
}

void MainForm::Command3_Click() {
    MediaControl& media = *platform_.media;
    media.mciSendString(QStringLiteral("stop bgm"));
    media.mciSendString(QStringLiteral("close bgm"));
    Timer2.setEnabled(false);
}

void MainForm::Timer2_Timer() {
    MediaControl& media = *platform_.media;
    QString mode;
    media.mciSendString(QStringLiteral("status bgm mode"), &mode);
    if (mode.left(7) != QStringLiteral("stopped")) {
        return;
    }
    if (Check1 != 0) {
        media.mciSendString(QStringLiteral("play bgm from 0"));
    } else {
        media.mciSendString(QStringLiteral("stop bgm"));
        media.mciSendString(QStringLiteral("close bgm"));
        Timer2.setEnabled(false);
    }
}

void MainForm::mebent_Click() {
    MediaControl& media = *platform_.media;
    media.mciSendString(QStringLiteral("stop bgm"));
    media.mciSendString(QStringLiteral("close bgm"));
    WebBrowser1->Navigate(scenePage(QStringLiteral("Kakasi.htm")));
    media.mciSendString(openCommand(programFile(QStringLiteral("\\Sound\\Kouka2.mid"))));
    media.mciSendString(QStringLiteral("play bgm"));
    Timer2.setEnabled(true);
}

void MainForm::mmodosu_Click() {
    MediaControl& media = *platform_.media;
    WebBrowser1->Navigate(scenePage(QStringLiteral("Fish.htm")));
    media.mciSendString(QStringLiteral("stop bgm"));
    media.mciSendString(QStringLiteral("close bgm"));
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

void MainForm::TrayControl1_IconEvent(int code) {
    if (code == 0) {
        platform_.messageBoxes->show(QStringLiteral("Clicked!"), QStringLiteral("Brindle"),
                                     MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    } else if (code == 1) {
        mnuPopup->exec(QCursor::pos());
    }
}

void MainForm::mnu_Popup_Click(int index) {
    if (index == 0) {
        show();
    } else if (index == 2) {
        close();
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
