#include "settings/OptionForm.h"

#include "settings/core/ServerFile.h"
#include "shell/FormStyle.h"
#include "shell/MainForm.h"
#include "shell/MessageBoxes.h"
#include "shell/Twips.h"
#include "shell/WindowStacking.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle {

OptionForm::OptionForm(MainForm& main) : Form(&main, Qt::Dialog), main_(main) {
    setFixedWindow(this, QStringLiteral("サーバー設定"), 2895, 3015, false);
    const QColor blue(0, 0, 255);
    Label1 =
        makeLabel(this, QStringLiteral("SMTPサーバー名(&S)"), twipsRect(120, 120, 1575, 195), blue);
    SmtpText = makeField(this, twipsRect(120, 360, 2652, 264));
    Label2 =
        makeLabel(this, QStringLiteral("POP3サーバー名(&P)"), twipsRect(120, 720, 1635, 195), blue);
    Pop3Text = makeField(this, twipsRect(120, 960, 2652, 264));
    Label3 = makeLabel(this, QStringLiteral("メールアドレス(&M)"), twipsRect(120, 1320, 1635, 195),
                       blue);
    MailText = makeField(this, twipsRect(120, 1560, 2652, 264));
    Label1->setBuddy(SmtpText);
    Label2->setBuddy(Pop3Text);
    Label3->setBuddy(MailText);
    ApopCheck = new QCheckBox(QStringLiteral("APOP を使用する(&A)"), this);
    ApopCheck->setGeometry(twipsRect(480, 2040, 2172, 252));
    setTextColour(ApopCheck, blue);
    OkCommand = new QPushButton(QStringLiteral("設定"), this);
    OkCommand->setGeometry(twipsRect(660, 2520, 972, 372));
    CancelCommand = new QPushButton(QStringLiteral("中止"), this);
    CancelCommand->setGeometry(twipsRect(1860, 2520, 912, 372));

    setTabOrder(SmtpText, Pop3Text);
    setTabOrder(Pop3Text, ApopCheck);
    setTabOrder(ApopCheck, OkCommand);
    setTabOrder(OkCommand, CancelCommand);
    setTabOrder(CancelCommand, MailText);

    connect(OkCommand, &QPushButton::clicked, this, &OptionForm::OKCommand_Click);
    connect(CancelCommand, &QPushButton::clicked, this, &OptionForm::CancelCommand_Click);
}

void OptionForm::Form_Load() {
    main_.platform().stacking->setTopmost(*this, true);
    SmtpText->setText(main_.shared.SmtpServer);
    Pop3Text->setText(main_.shared.Pop3Server);
    MailText->setText(main_.shared.MailAddress);
    ApopCheck->setChecked(main_.shared.ApopFlag != 0);
}

void OptionForm::OKCommand_Click() {
    SharedSettings edited = main_.shared;
    edited.SmtpServer = SmtpText->text();
    edited.Pop3Server = Pop3Text->text();
    edited.MailAddress = MailText->text();
    edited.ApopFlag = ApopCheck->isChecked() ? 1 : 0;
    // The settings take effect only once they are stored.
    if (!ServerFile::write(main_.serverFile(), edited)) {
        main_.platform().messageBoxes->show(
            QStringLiteral(
                "サーバー設定を保存できませんでした。\n"
                "Shift-JISで書けない文字が含まれているか、lunaro.ini に書き込めません。"),
            QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
        return;
    }
    main_.shared = edited;
    close();
}

void OptionForm::CancelCommand_Click() {
    close();
}

// Escape cancels; Enter outside a button does not confirm this dialog.
void OptionForm::escapePressed() {
    CancelCommand->click();
}

} // namespace brindle
