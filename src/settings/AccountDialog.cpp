#include "settings/AccountDialog.h"

#include "settings/core/ProfileFile.h"
#include "settings/core/SettingKeys.h"
#include "settings/core/SharedSettings.h"
#include "ui/MessageBoxes.h"
#include "ui/Twips.h"
#include "ui/WidgetStyle.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle {

AccountDialog::AccountDialog(QWidget* parent, ProgramFiles files, SharedSettings& shared,
                             MessageBoxes& messageBoxes)
    : Window(parent, Qt::Dialog), files_(std::move(files)), shared_(shared),
      messageBoxes_(messageBoxes) {
    setFixedWindow(this, tr("ID,PASS"), 2880, 1785, false);
    const QColor black(0, 0, 0);
    idLabel = makeLabel(this, tr("ID"), twipsRect(120, 180, 675, 255), black);
    idEdit = makeField(this, twipsRect(960, 120, 1632, 264));
    passwordLabel = makeLabel(this, tr("Password"), twipsRect(120, 600, 795, 255), black);
    passwordEdit = makeField(this, twipsRect(960, 600, 1632, 264));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*'
    savePasswordBox = new QCheckBox(this);
    savePasswordBox->setGeometry(twipsRect(420, 1020, 255, 255));
    savePasswordLabel = makeLabel(this, tr("IDパスワードを保存する"),
                                  twipsRect(780, 1020, 1875, 255), QColor(0, 0, 255));
    savePasswordBox->setAccessibleName(savePasswordLabel->text());
    idLabel->setBuddy(idEdit);
    passwordLabel->setBuddy(passwordEdit);
    okButton = new QPushButton(tr("OK"), this);
    okButton->setGeometry(twipsRect(900, 1380, 852, 312));
    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setGeometry(twipsRect(1860, 1380, 852, 312));

    setTabOrder(idEdit, passwordEdit);
    setTabOrder(passwordEdit, okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, savePasswordBox);

    connect(okButton, &QPushButton::clicked, this, &AccountDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &AccountDialog::cancel);
}

void AccountDialog::prepare() {
    const ProfileFile account = files_.accountSettings();
    idEdit->setText(account.readString(SettingKeys::Section, SettingKeys::AccountId.name,
                                       QString::fromUtf8(SettingKeys::AccountId.defaultText)));
    passwordEdit->setText(
        account.readString(SettingKeys::Section, SettingKeys::AccountPassword.name,
                           QString::fromUtf8(SettingKeys::AccountPassword.defaultText)));
    savePasswordBox->setChecked(false);
}

void AccountDialog::showAccount(const QString& id, const QString& password) {
    idEdit->setText(id);
    passwordEdit->setText(password);
}

bool AccountDialog::hasAccount() const {
    return !idEdit->text().isEmpty() && !passwordEdit->text().isEmpty();
}

void AccountDialog::confirm() {
    ProfileFile account = files_.accountSettings();
    if (savePasswordBox->isChecked()) {
        // The ID and the password are stored together or not at all.
        if (!account.writeStrings(SettingKeys::Section,
                                  {{SettingKeys::AccountId.name, idEdit->text()},
                                   {SettingKeys::AccountPassword.name, passwordEdit->text()},
                                   {SettingKeys::AccountSaved.name, QStringLiteral("1")}})) {
            messageBoxes_.show(
                tr("IDとパスワードを保存できませんでした。\n"
                   "Shift-JISで書けない文字が含まれているか、設定ファイルに書き込めません。"),
                QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation,
                MessageBoxes::Buttons::Ok);
            return;
        }
    } else {
        account.writeString(SettingKeys::Section, SettingKeys::AccountSaved.name,
                            QStringLiteral("0"));
    }
    shared_.AccountId = idEdit->text();
    shared_.AccountPassword = passwordEdit->text();
    shared_.AccountConfirmed = true;
    close();
}

void AccountDialog::cancel() {
    close();
}

// Enter confirms the dialog (OK is its default button) and Escape cancels it.
void AccountDialog::enterPressed() {
    okButton->click();
}

void AccountDialog::escapePressed() {
    cancelButton->click();
}

} // namespace brindle
