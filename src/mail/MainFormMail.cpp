// Mail checking on the main window: the check, timed checking, the mail
// program's choice and name display, the dial-up hang-up and the status lamp.
#include "mail/FileChooser.h"
#include "mail/MailLib.h"
#include "mail/ProgramLauncher.h"
#include "mail/dialup/DialUpConnections.h"
#include "settings/IdPassForm.h"
#include "settings/SetForm.h"
#include "settings/core/ProfileFile.h"
#include "settings/core/SettingKeys.h"
#include "settings/core/ValueOfText.h"
#include "shell/MainForm.h"
#include "shell/MessageBoxes.h"
#include "shell/MsgForm.h"
#include "shell/Twips.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <algorithm>

namespace brindle {

namespace {

// Counters are written as plain digits; their text counts by the value-of-text rule.
qint64 counterValue(const QString& text) {
    const double value = ValueOfText(text);
    return value > 0 ? static_cast<qint64>(std::min(value, 1e15)) : 0;
}

// The file name part of a path, as the name display shows it.
QString fileTitle(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

void MainForm::CheckMail() {
    // A check asked for while one runs (a tick or the menu during one of its
    // waits) is skipped: two sessions at once would lock the mailbox.
    if (checking_) {
        return;
    }
    checking_ = true;
    const auto done = qScopeGuard([this] { checking_ = false; });
    runCheck();
}

void MainForm::runCheck() {
    MailLib& library = *platform_.mailLib;
    int count = 0;
    if (!shared.Pop3Server.isEmpty()) {
        const int handle = library.MailLibPop3Connect(shared.Pop3Server);
        if (handle != -1) {
            loadAccount();
            if (shared.AccountId.isEmpty() || shared.AccountPassword.isEmpty()) {
                idPassForm.Show();
            } else {
                count = library.MailLibPop3Authenticate(handle, shared.AccountId,
                                                        shared.AccountPassword,
                                                        shared.ApopFlag != 0 ? -1 : 0);
                if (count > 0) {
                    FetchMessages(library, handle, count);
                } else if (count < 0) {
                    platform_.messageBoxes->show(TrimNull(library.MailLibGetMessage()),
                                                 QStringLiteral("エラー"), MessageBoxes::Icon::None,
                                                 MessageBoxes::Buttons::Ok);
                }
            }
            library.MailLibPop3Close(handle);
        }
    }
    if (count > 0) {
        reactToNewMail(count);
    }
    if (setForm->Check1->isChecked()) {
        Command5_Click();
    }
}

// An ID and password confirmed in the account dialog this run are the ones
// to use; otherwise the saved account is read afresh for every check.
void MainForm::loadAccount() {
    if (!shared.AccountConfirmed) {
        const ProfileFile account = accountSettings();
        shared.AccountId =
            account.readString(SettingKeys::Section, SettingKeys::AccountId.name,
                               QString::fromUtf8(SettingKeys::AccountId.defaultText));
        shared.AccountPassword =
            account.readString(SettingKeys::Section, SettingKeys::AccountPassword.name,
                               QString::fromUtf8(SettingKeys::AccountPassword.defaultText));
    }
    idPassForm->IdText->setText(shared.AccountId);
    idPassForm->PassText->setText(shared.AccountPassword);
}

void MainForm::reactToNewMail(int count) {
    if (!Check2->isChecked()) {
        msgForm->Text1->setText(QStringLiteral("新着メールが有ります"));
        msgForm->Text2->setText(QString::number(count));
        msgForm.Show();
        if (setForm->Check2->isChecked()) {
            WaitMilliseconds(1000);
            msgForm.Close();
        }
        mebent_Click();
    } else if (Text7 != QString::fromUtf8(SettingKeys::NotSet)) {
        const QString program = Text7.trimmed();
        if (!platform_.launcher->start(program)) {
            qWarning("The mail program could not be started: %s", qUtf8Printable(program));
        }
    }
}

void MainForm::mcheck_Click() {
    Command8_Click();
}

void MainForm::Command8_Click() {
    CheckMail();
}

void MainForm::Picture7_Click() {
    CheckMail();
}

// The interval in whole minutes that counting and polling share: the setting
// rounded half to even, and at least 1 whenever the setting is above 0.
int MainForm::timedInterval() {
    const double setting = ValueOfText(setForm->Text2->text());
    const int rounded = RoundHalfEven32(setting);
    return setting > 0 ? std::max(rounded, 1) : rounded;
}

void MainForm::Timer3_Timer() {
    const int interval = timedInterval();
    const qint64 minutes = counterValue(Text1);
    if (interval > 0 ? minutes >= interval : minutes == interval) {
        Text1 = QStringLiteral("0");
        reachChecked_ = false;
    }
    const qint64 seconds = counterValue(Text4) + 1;
    if (seconds >= 60) {
        Text4 = QStringLiteral("0");
        Text1 = QString::number(counterValue(Text1) + 1);
        reachChecked_ = false;
    } else {
        Text4 = QString::number(seconds);
    }
}

// A poll that falls inside a running check leaves the reach for the next poll,
// so the timed check follows once that check has ended.
void MainForm::Timer1_Timer() {
    const int interval = timedInterval();
    if (interval <= 0 || reachChecked_ || checking_ || counterValue(Text1) != interval) {
        return;
    }
    reachChecked_ = true;
    Picture7_Click();
}

void MainForm::mset_Click() {
    Command7_Click();
}

void MainForm::Command7_Click() {
    const QString chosen = platform_.fileChooser->chooseFile(this);
    if (!chosen.isEmpty()) {
        CommonDialog1FileName = chosen;
    }
    Text7 = CommonDialog1FileName;
    Text8 = fileTitle(Text7);
}

void MainForm::Timer4_Timer() {
    Text8 = fileTitle(Text7);
    const QString caption = Text7.isEmpty() ? QStringLiteral("設定されていません。") : Text8;
    if (Label1->text() != caption) {
        Label1->setText(caption);
    }
    Label1Left = Label1Left == -1500.0F ? 2760.0F : Label1Left - 20.0F;
    const int left = twips(Label1Left);
    if (Label1->x() != left) {
        Label1->move(left, Label1->y());
    }
}

void MainForm::Command5_Click() {
    DialUpConnections& connections = *platform_.dialUp;
    const auto active = connections.RasEnumConnections();
    if (!active) {
        return;
    }
    for (const QString& handle : *active) {
        connections.RasHangUp(handle);
    }
}

void MainForm::Timer5_Timer() {
    if (Check3->isChecked()) {
        setLampPicture(QStringLiteral("\\画像データ\\Green.gif"));
        WaitMilliseconds(2000);
        setLampPicture(QStringLiteral("\\画像データ\\Red.gif"));
    } else {
        setLampPicture(QStringLiteral("\\画像データ\\Green.gif"));
    }
}

// Loads the lamp picture anew; a missing or unreadable file keeps the picture shown.
void MainForm::setLampPicture(const QString& backslashSuffix) {
    const QPixmap picture(programFile(backslashSuffix));
    if (!picture.isNull()) {
        Image1->setPixmap(picture);
    }
}

} // namespace brindle
