// Start-up and shutdown of the main window.
#include "mail/MailLib.h"
#include "presentation/SceneView.h"
#include "presentation/sound/MediaControl.h"
#include "settings/IdPassForm.h"
#include "settings/OptionForm.h"
#include "settings/SetForm.h"
#include "settings/StoredTick.h"
#include "settings/core/ProfileFile.h"
#include "settings/core/ServerFile.h"
#include "settings/core/SettingKeys.h"
#include "shell/MainForm.h"
#include "shell/ProgramEnd.h"
#include "shell/WindowStacking.h"

#include <QCheckBox>
#include <QLineEdit>

namespace brindle {

void MainForm::Form_Load() {
    platform_.stacking->setTopmost(*this, true);
    const ProfileFile settings = mainSettings();
    applyStoredTick(*setForm->Check1,
                    settings.readInt(SettingKeys::Section, SettingKeys::HangUp.name));
    ServerFile::read(serverFile(), shared);
    platform_.mailLib->MailLibInitializeWinSock();
    platform_.mailLib->MailLibSetOption(1, 8192);
    if (shared.Pop3Server.isEmpty()) {
        optionForm.Show();
    }
    if (idPassForm->IdText->text().isEmpty() || idPassForm->PassText->text().isEmpty()) {
        idPassForm.Show();
    }
    WebBrowser1->Navigate(scenePage(QStringLiteral("Fish.htm")));
    platform_.media->mciSendString(QStringLiteral("stop bgm"));
    platform_.media->mciSendString(QStringLiteral("close bgm"));
    setForm->Text2->setText(
        QString::number(settings.readInt(SettingKeys::Section, SettingKeys::Interval.name)));
    Text7 = settings.readString(SettingKeys::Section, SettingKeys::MailerPath.name,
                                QString::fromUtf8(SettingKeys::MailerPath.defaultText));
    applyStoredTick(*Check2,
                    settings.readInt(SettingKeys::Section, SettingKeys::LaunchMailer.name));
}

void MainForm::Form_Unload() {
    if (ending_) {
        return;
    }
    ending_ = true;
    platform_.media->mciSendString(QStringLiteral("stop bgm"));
    platform_.media->mciSendString(QStringLiteral("close bgm"));
    Timer2.setEnabled(false);
    ProfileFile settings = mainSettings();
    settings.writeString(SettingKeys::Section, SettingKeys::MailerPath.name, Text7);
    settings.writeString(SettingKeys::Section, SettingKeys::LaunchMailer.name, storedTick(*Check2));
    // An open settings window keeps its edits, as closing it would.
    if (setForm.exists() && setForm->isVisible()) {
        setForm->Form_Unload();
    }
    platform_.mailLib->MailLibEndWinSock();
    platform_.programEnd->endNow();
}

} // namespace brindle
