#include "settings/ServerSettingsDialog.h"

#include "settings/core/ServerFile.h"
#include "ui/MessageBoxes.h"
#include "ui/Twips.h"
#include "ui/WidgetStyle.h"
#include "ui/WindowStacking.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle {

ServerSettingsDialog::ServerSettingsDialog(QWidget* parent, QString serverFile,
                                           SharedSettings& shared, WindowStacking& stacking,
                                           MessageBoxes& messageBoxes)
    : Window(parent, Qt::Dialog), serverFile_(std::move(serverFile)), shared_(shared),
      stacking_(stacking), messageBoxes_(messageBoxes) {
    setFixedWindow(this, tr("サーバー設定"), 2895, 3015, false);
    const QColor blue(0, 0, 255);
    smtpLabel = makeLabel(this, tr("SMTPサーバー名(&S)"), twipsRect(120, 120, 1575, 195), blue);
    smtpEdit = makeField(this, twipsRect(120, 360, 2652, 264));
    pop3Label = makeLabel(this, tr("POP3サーバー名(&P)"), twipsRect(120, 720, 1635, 195), blue);
    pop3Edit = makeField(this, twipsRect(120, 960, 2652, 264));
    mailAddressLabel =
        makeLabel(this, tr("メールアドレス(&M)"), twipsRect(120, 1320, 1635, 195), blue);
    mailAddressEdit = makeField(this, twipsRect(120, 1560, 2652, 264));
    smtpLabel->setBuddy(smtpEdit);
    pop3Label->setBuddy(pop3Edit);
    mailAddressLabel->setBuddy(mailAddressEdit);
    apopBox = new QCheckBox(tr("APOP を使用する(&A)"), this);
    apopBox->setGeometry(twipsRect(480, 2040, 2172, 252));
    setTextColour(apopBox, blue);
    okButton = new QPushButton(tr("設定"), this);
    okButton->setGeometry(twipsRect(660, 2520, 972, 372));
    cancelButton = new QPushButton(tr("中止"), this);
    cancelButton->setGeometry(twipsRect(1860, 2520, 912, 372));

    setTabOrder(smtpEdit, pop3Edit);
    setTabOrder(pop3Edit, apopBox);
    setTabOrder(apopBox, okButton);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, mailAddressEdit);

    connect(okButton, &QPushButton::clicked, this, &ServerSettingsDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &ServerSettingsDialog::cancel);
}

void ServerSettingsDialog::prepare() {
    stacking_.setTopmost(*this, true);
    smtpEdit->setText(shared_.SmtpServer);
    pop3Edit->setText(shared_.Pop3Server);
    mailAddressEdit->setText(shared_.MailAddress);
    apopBox->setChecked(shared_.ApopFlag != 0);
}

void ServerSettingsDialog::confirm() {
    SharedSettings edited = shared_;
    edited.SmtpServer = smtpEdit->text();
    edited.Pop3Server = pop3Edit->text();
    edited.MailAddress = mailAddressEdit->text();
    edited.ApopFlag = apopBox->isChecked() ? 1 : 0;
    // The settings take effect only once they are stored.
    if (!ServerFile::write(serverFile_, edited)) {
        messageBoxes_.show(
            tr("サーバー設定を保存できませんでした。\n"
               "Shift-JISで書けない文字が含まれているか、lunaro.ini に書き込めません。"),
            QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        return;
    }
    shared_ = edited;
    close();
}

void ServerSettingsDialog::cancel() {
    close();
}

// Escape cancels; Enter outside a button does not confirm this dialog.
void ServerSettingsDialog::escapePressed() {
    cancelButton->click();
}

} // namespace brindle
