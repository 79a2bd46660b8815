#include "settings/OptionForm.h"

#include "settings/core/ServerFile.h"
#include "shell/FormStyle.h"
#include "shell/MainForm.h"
#include "shell/Twips.h"
#include "shell/WindowStacking.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle {

OptionForm::OptionForm(MainForm& main) : main_(main) {
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
    main_.shared.SmtpServer = SmtpText->text();
    main_.shared.Pop3Server = Pop3Text->text();
    main_.shared.MailAddress = MailText->text();
    main_.shared.ApopFlag = ApopCheck->isChecked() ? 1 : 0;
    ServerFile::write(main_.serverFile(), main_.shared);
    close();
}

void OptionForm::CancelCommand_Click() {
    close();
}

// Escape cancels; Enter does not confirm this dialog.
void OptionForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        CancelCommand->click();
        return;
    }
    Form::keyPressEvent(event);
}

} // namespace brindle
