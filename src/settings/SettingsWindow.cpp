#include "settings/SettingsWindow.h"

#include "settings/StoredTick.h"
#include "settings/core/ProfileFile.h"
#include "settings/core/SettingKeys.h"
#include "ui/Twips.h"
#include "ui/WidgetStyle.h"

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

SettingsWindow::SettingsWindow(QWidget* parent, ProgramFiles files)
    : Window(parent, Qt::Dialog), files_(std::move(files)) {
    setFixedWindow(this, tr("設定"), 3825, 3315, false);
    const QColor lightGrey(192, 192, 192);
    const QColor blue(0, 0, 255);
    const QColor red(255, 0, 0);
    setBackground(this, lightGrey);

    accountButton =
        makeButton(this, tr("ID/PASS"), twipsRect(480, 120, 1455, 375), QColor(255, 128, 0));
    accountButton->setAccessibleDescription(tr("IDとパスワード"));
    serverButton =
        makeButton(this, tr("POPサーバー"), twipsRect(1920, 120, 1455, 375), QColor(128, 128, 255));
    hangUpBox = new QCheckBox(this);
    hangUpBox->setGeometry(twipsRect(480, 600, 255, 255));
    hangUpLabel =
        makeLabel(this, tr("新着がなければ接続を切断する。"), twipsRect(840, 645, 2535, 255), blue);
    hangUpBox->setAccessibleName(hangUpLabel->text());
    addSeparator(this, 360, 960, 3480);
    intervalHeading =
        makeLabel(this, tr("インターバルメールチェック"), twipsRect(480, 1080, 2775, 375), red);
    QFont headingFont(QStringLiteral("ＭＳ Ｐゴシック"));
    headingFont.setPointSize(9);
    headingFont.setBold(true);
    intervalHeading->setFont(headingFont);
    intervalHelp = makeLabel(this,
                             tr("０以上の数字を入力すると、その間隔で自動的にメールチェックを"
                                "行います。チェックの都度手動で行う場合は０にしておいて下さ"
                                "い。（単位は分です。）"),
                             twipsRect(480, 1440, 2895, 855), blue);
    intervalHelp->setWordWrap(true);
    intervalHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    intervalEdit = makeField(this, twipsRect(2400, 2280, 375, 270));
    intervalEdit->setAlignment(Qt::AlignRight);
    intervalEdit->setAccessibleName(tr("チェックの間隔（分）"));
    intervalEdit->setAccessibleDescription(intervalHelp->text());
    minutesLabel = makeLabel(this, tr("分"), twipsRect(2880, 2325, 495, 255), red);
    addSeparator(this, 240, 2760, 3360);
    autoCloseBoardBox = new QCheckBox(tr("新着お知らせボードを１秒で自動消去させる"), this);
    autoCloseBoardBox->setGeometry(twipsRect(120, 2880, 3735, 495));

    setTabOrder(serverButton, accountButton);
    setTabOrder(accountButton, hangUpBox);
    setTabOrder(hangUpBox, intervalEdit);
    setTabOrder(intervalEdit, autoCloseBoardBox);

    connect(intervalEdit, &QLineEdit::textChanged, this, &SettingsWindow::onIntervalEdited);
    connect(accountButton, &QPushButton::clicked, this, &SettingsWindow::accountRequested);
    connect(serverButton, &QPushButton::clicked, this, &SettingsWindow::serverSettingsRequested);
}

void SettingsWindow::prepare() {
    const ProfileFile settings = files_.mainSettings();
    applyStoredTick(*hangUpBox, settings.readInt(SettingKeys::Section, SettingKeys::HangUp.name));
    intervalEdit->setText(
        QString::number(settings.readInt(SettingKeys::Section, SettingKeys::Interval.name)));
    applyStoredTick(*autoCloseBoardBox,
                    settings.readInt(SettingKeys::Section, SettingKeys::AutoCloseBoard.name));
}

void SettingsWindow::saveOnClose() {
    writeSetting(SettingKeys::HangUp.name, storedTick(*hangUpBox));
    writeSetting(SettingKeys::Interval.name, intervalEdit->text());
    writeSetting(SettingKeys::AutoCloseBoard.name, storedTick(*autoCloseBoardBox));
}

bool SettingsWindow::hangsUp() const {
    return hangUpBox->isChecked();
}

bool SettingsWindow::autoClosesBoard() const {
    return autoCloseBoardBox->isChecked();
}

void SettingsWindow::onIntervalEdited() {
    if (intervalEdit->text().isEmpty()) {
        intervalEdit->setText(QStringLiteral("0")); // runs this handler again, inside this one
    }
    const QString text = intervalEdit->text();
    // Read as a start reads the stored text, so that closing the window changes nothing.
    const int minutes = ProfileFile::intReadBack(text);
    if (minutes == 0) {
        writeSetting(SettingKeys::Interval.name, text);
    }
    emit intervalChanged(minutes, text);
}

void SettingsWindow::writeSetting(const char* key, const QString& value) {
    files_.mainSettings().writeString(SettingKeys::Section, key, value);
}

} // namespace brindle
