#include "settings/SetForm.h"

#include "settings/IdPassForm.h"
#include "settings/OptionForm.h"
#include "settings/StoredTick.h"
#include "settings/core/ProfileFile.h"
#include "settings/core/SettingKeys.h"
#include "settings/core/ValueOfText.h"
#include "shell/FormStyle.h"
#include "shell/MainForm.h"
#include "shell/Twips.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle {

namespace {

void addSeparator(QWidget* parent, int left, int top, int right) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(twips(left), twips(top) - 1, twips(right - left), 2);
}

} // namespace

SetForm::SetForm(MainForm& main) : Form(&main, Qt::Dialog), main_(main) {
    setFixedWindow(this, QStringLiteral("設定"), 3825, 3315, false);
    const QColor lightGrey(192, 192, 192);
    const QColor blue(0, 0, 255);
    const QColor red(255, 0, 0);
    setBackground(this, lightGrey);

    Command1 = makeButton(this, QStringLiteral("ID/PASS"), twipsRect(480, 120, 1455, 375),
                          QColor(255, 128, 0));
    Command2 = makeButton(this, QStringLiteral("POPサーバー"), twipsRect(1920, 120, 1455, 375),
                          QColor(128, 128, 255));
    Check1 = new QCheckBox(this);
    Check1->setGeometry(twipsRect(480, 600, 255, 255));
    Label1 = makeLabel(this, QStringLiteral("新着がなければ接続を切断する。"),
                       twipsRect(840, 645, 2535, 255), blue);
    addSeparator(this, 360, 960, 3480);
    Label5 = makeLabel(this, QStringLiteral("インターバルメールチェック"),
                       twipsRect(480, 1080, 2775, 375), red);
    QFont headingFont(QStringLiteral("ＭＳ Ｐゴシック"));
    headingFont.setPointSize(9);
    headingFont.setBold(true);
    Label5->setFont(headingFont);
    Label3 = makeLabel(this,
                       QStringLiteral("０以上の数字を入力すると、その間隔で自動的にメールチェックを"
                                      "行います。チェックの都度手動で行う場合は０にしておいて下さ"
                                      "い。（単位は分です。）"),
                       twipsRect(480, 1440, 2895, 855), blue);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text2 = makeField(this, twipsRect(2400, 2280, 375, 270));
    Text2->setAlignment(Qt::AlignRight);
    Label2 = makeLabel(this, QStringLiteral("分"), twipsRect(2880, 2325, 495, 255), red);
    addSeparator(this, 240, 2760, 3360);
    Check2 = new QCheckBox(QStringLiteral("新着お知らせボードを１秒で自動消去させる"), this);
    Check2->setGeometry(twipsRect(120, 2880, 3735, 495));

    setTabOrder(Command2, Command1);
    setTabOrder(Command1, Check1);
    setTabOrder(Check1, Text2);
    setTabOrder(Text2, Check2);

    connect(Text2, &QLineEdit::textChanged, this, &SetForm::Text2_Change);
    connect(Command1, &QPushButton::clicked, this, &SetForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SetForm::Command2_Click);
}

void SetForm::Form_Load() {
    const ProfileFile settings = main_.mainSettings();
    applyStoredTick(*Check1, settings.readInt(SettingKeys::Section, SettingKeys::HangUp.name));
    Text2->setText(
        QString::number(settings.readInt(SettingKeys::Section, SettingKeys::Interval.name)));
    applyStoredTick(*Check2,
                    settings.readInt(SettingKeys::Section, SettingKeys::AutoCloseBoard.name));
}

void SetForm::Form_Unload() {
    writeSetting(SettingKeys::HangUp.name, storedTick(*Check1));
    writeSetting(SettingKeys::Interval.name, Text2->text());
    writeSetting(SettingKeys::AutoCloseBoard.name, storedTick(*Check2));
}

void SetForm::Text2_Change() {
    if (Text2->text().isEmpty()) {
        Text2->setText(QStringLiteral("0")); // runs this handler again, inside this one
    }
    const double interval = ValueOfText(Text2->text());
    if (interval > 0) {
        main_.Label2[1]->setText(QStringLiteral("ON"));
        main_.Check3->setChecked(true);
        main_.Text5->setText(Text2->text());
        main_.Timer3.setInterval(1000);
    } else if (interval == 0) {
        main_.Label2[1]->setText(QStringLiteral("OFF"));
        main_.Check3->setChecked(false);
        main_.Text5->setText(Text2->text());
        main_.Timer3.setInterval(0);
        writeSetting(SettingKeys::Interval.name, Text2->text());
    }
}

void SetForm::Command1_Click() {
    main_.idPassForm.Show();
}

void SetForm::Command2_Click() {
    main_.optionForm.Show();
}

void SetForm::writeSetting(const char* key, const QString& value) {
    main_.mainSettings().writeString(SettingKeys::Section, key, value);
}

} // namespace brindle
