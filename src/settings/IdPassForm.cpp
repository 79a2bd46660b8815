#include "settings/IdPassForm.h"

#include "settings/core/ProfileFile.h"
#include "settings/core/SettingKeys.h"
#include "shell/FormStyle.h"
#include "shell/MainForm.h"
#include "shell/MessageBoxes.h"
#include "shell/Twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle {

IdPassForm::IdPassForm(MainForm& main) : Form(&main, Qt::Dialog), main_(main) {
    setFixedWindow(this, QStringLiteral("ID,PASS"), 2880, 1785, false);
    const QColor black(0, 0, 0);
    Label1 = makeLabel(this, QStringLiteral("ID"), twipsRect(120, 180, 675, 255), black);
    IdText = makeField(this, twipsRect(960, 120, 1632, 264));
    Label2_0 = makeLabel(this, QStringLiteral("Password"), twipsRect(120, 600, 795, 255), black);
    PassText = makeField(this, twipsRect(960, 600, 1632, 264));
    PassText->setEchoMode(QLineEdit::Password);
    PassText->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*'
    Check1 = new QCheckBox(this);
    Check1->setGeometry(twipsRect(420, 1020, 255, 255));
    Label2_1 = makeLabel(this, QStringLiteral("IDパスワードを保存する"),
                         twipsRect(780, 1020, 1875, 255), QColor(0, 0, 255));
    OKCommand = new QPushButton(QStringLiteral("OK"), this);
    OKCommand->setGeometry(twipsRect(900, 1380, 852, 312));
    CancelCommand = new QPushButton(QStringLiteral("Cancel"), this);
    CancelCommand->setGeometry(twipsRect(1860, 1380, 852, 312));

    setTabOrder(IdText, PassText);
    setTabOrder(PassText, OKCommand);
    setTabOrder(OKCommand, CancelCommand);
    setTabOrder(CancelCommand, Check1);

    connect(OKCommand, &QPushButton::clicked, this, &IdPassForm::OKCommand_Click);
    connect(CancelCommand, &QPushButton::clicked, this, &IdPassForm::CancelCommand_Click);
}

void IdPassForm::Form_Load() {
    const ProfileFile account = main_.accountSettings();
    IdText->setText(account.readString(SettingKeys::Section, SettingKeys::AccountId.name,
                                       QString::fromUtf8(SettingKeys::AccountId.defaultText)));
    PassText->setText(
        account.readString(SettingKeys::Section, SettingKeys::AccountPassword.name,
                           QString::fromUtf8(SettingKeys::AccountPassword.defaultText)));
    Check1->setChecked(false);
}

void IdPassForm::OKCommand_Click() {
    ProfileFile account = main_.accountSettings();
    if (Check1->isChecked()) {
        // The ID and the password are stored together or not at all.
        if (!account.writeStrings(SettingKeys::Section,
                                  {{SettingKeys::AccountId.name, IdText->text()},
                                   {SettingKeys::AccountPassword.name, PassText->text()},
                                   {SettingKeys::AccountSaved.name, QStringLiteral("1")}})) {
            main_.platform().messageBoxes->show(
                QStringLiteral(
                    "IDとパスワードを保存できませんでした。\n"
                    "Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。"),
                QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation,
                MessageBoxes::Buttons::Ok);
            return;
        }
    } else {
        account.writeString(SettingKeys::Section, SettingKeys::AccountSaved.name,
                            QStringLiteral("0"));
    }
    main_.shared.AccountId = IdText->text();
    main_.shared.AccountPassword = PassText->text();
    main_.shared.AccountConfirmed = true;
    close();
}

void IdPassForm::CancelCommand_Click() {
    close();
}

// Enter confirms the dialog (OK is its default button) and Escape cancels it.
void IdPassForm::enterPressed() {
    OKCommand->click();
}

void IdPassForm::escapePressed() {
    CancelCommand->click();
}

} // namespace brindle
