#include "shell/MainForm.h"

#include "presentation/SceneView.h"
#include "presentation/TrayIcon.h"
#include "settings/IdPassForm.h"
#include "settings/OptionForm.h"
#include "settings/SetForm.h"
#include "settings/core/ProfileFile.h"
#include "settings/core/ProgramFolder.h"
#include "settings/core/SettingKeys.h"
#include "shell/CachedTextLabel.h"
#include "shell/FormStyle.h"
#include "shell/MsgForm.h"
#include "shell/Twips.h"
#include "shell/WaitMilliseconds.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace brindle {

MainForm::MainForm(Platform platform)
    : setForm([this] { return new SetForm(*this); }),
      optionForm([this] { return new OptionForm(*this); }),
      idPassForm([this] { return new IdPassForm(*this); }),
      msgForm([this] { return new MsgForm(*this); }), platform_(std::move(platform)) {
    setWindowTitle(QStringLiteral("Brindle Ver 1.0"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    buildLayout();
    buildMenus();
    setFixedSize(centralWidget()->width(),
                 centralWidget()->height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    wireEvents();
    Form_Load();
}

MainForm::~MainForm() = default;

QString MainForm::programFile(const QString& backslashSuffix) const {
    return ProgramFolder::join(platform_.programFolder, backslashSuffix);
}

QUrl MainForm::scenePage(const QString& pageName) const {
    return QUrl::fromLocalFile(programFile(QStringLiteral("\\画像データ\\") + pageName));
}

ProfileFile MainForm::mainSettings() const {
    return ProfileFile(
        ProgramFolder::join(platform_.settings.folder, QString::fromUtf8(SettingKeys::MainFile)));
}

ProfileFile MainForm::accountSettings() const {
    return ProfileFile(
        ProgramFolder::join(platform_.settings.folder, QString::fromUtf8(SettingKeys::AccountFile)),
        StoredFile::Access::OwnerOnly);
}

void MainForm::WaitMilliseconds(int ms) {
    brindle::WaitMilliseconds(ms, *platform_.clock, *platform_.events);
}

void MainForm::buildLayout() {
    auto* client = new QWidget(this);
    client->setFixedSize(twips(2775), twips(2895));
    setBackground(client, QColor(64, 0, 0));
    setCentralWidget(client);

    Picture2 = new QWidget(client);
    Picture2->setGeometry(twipsRect(0, 0, 2775, 1815));
    scene_ = platform_.createSceneView(Picture2);
    WebBrowser1 = scene_.get();
    WebBrowser1->widget()->setParent(Picture2);
    WebBrowser1->widget()->setGeometry(twipsRect(-50, -480, 3615, 3255));

    Picture3 = new QWidget(client);
    Picture3->setGeometry(twipsRect(-120, 1800, 2895, 375));
    setBackground(Picture3, QColor(224, 224, 224));
    Label3 = makeLabel(Picture3, QStringLiteral("新着有りで設定メーラーを起動"),
                       twipsRect(140, 100, 2415, 255), QColor(0, 0, 255));
    Check2 = new QCheckBox(Picture3);
    Check2->setGeometry(twipsRect(2560, 60, 255, 255));
    setBackground(Check2, QColor(224, 224, 224));

    Picture4 = new QWidget(client);
    Picture4->setGeometry(twipsRect(-120, 2160, 2895, 735));
    setBackground(Picture4, QColor(0, 64, 0));

    Picture5 = new QLabel(Picture4);
    Picture5->setGeometry(twipsRect(0, 0, 2895, 300));
    Picture5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture5->setPixmap(QPixmap(QStringLiteral(":/images/title.png")));
    Image1 = new QLabel(Picture5);
    Image1->setGeometry(twipsRect(120, 0, 240, 240));
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/lamp_green.png")));
    Label1 = new CachedTextLabel(QStringLiteral("インターバルチェック"), Picture5);
    Label1->setGeometry(twipsRect(static_cast<int>(Label1Left), 0, 2415, 255));
    setTextColour(Label1, QColor(255, 255, 0));
    QFont marqueeFont(QStringLiteral("ＭＳ Ｐゴシック"));
    marqueeFont.setPointSizeF(11.25);
    marqueeFont.setBold(true);
    Label1->setFont(marqueeFont);

    const QColor white(255, 255, 255);
    Label2[1] = makeLabel(Picture4, QStringLiteral("ON"), twipsRect(130, 400, 375, 255), white);
    Check3 = new QCheckBox(Picture4);
    Check3->setGeometry(twipsRect(460, 400, 255, 180));
    Check3->setEnabled(false);
    Text5 = new QLineEdit(Picture4);
    Text5->setGeometry(twipsRect(840, 350, 495, 270));
    Text5->setAlignment(Qt::AlignRight);
    Text5->setEnabled(false);
    Label2[0] = makeLabel(Picture4, QStringLiteral("分"), twipsRect(1440, 400, 375, 255), white);
    const QColor grey(192, 192, 192);
    Command2 = makeButton(Picture4, QStringLiteral("ON♪"), twipsRect(1680, 300, 615, 400), grey);
    Command3 = makeButton(Picture4, QStringLiteral("OFF"), twipsRect(2280, 300, 615, 400), grey);
}

void MainForm::buildMenus() {
    mfile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    mcheck = mfile->addAction(QStringLiteral("メールチェック"));
    mfile->addSeparator();
    mset = mfile->addAction(QStringLiteral("起動メーラーの設定"));
    mtask = mfile->addAction(QStringLiteral("タスクトレイに常駐"));
    mset2 = mfile->addAction(QStringLiteral("設定"));
    mfile->addSeparator();
    mebent = mfile->addAction(QStringLiteral("イベント確認"));
    mmodosu = mfile->addAction(QStringLiteral("戻す"));
    mfile->addSeparator();
    mzenmen = mfile->addAction(QStringLiteral("常に前面表示"));
    mkaijyo = mfile->addAction(QStringLiteral("前面表示解除"));
    mfile->addSeparator();
    mhp = mfile->addAction(QStringLiteral("作者のホームページ"));

    // The pop-up menu of the tray icon never appears on the menu bar.
    mnuPopup = new QMenu(QStringLiteral("popup"), this);
    mnu_Popup[0] = mnuPopup->addAction(QStringLiteral("メイン画面を表示"));
    mnu_Popup[1] = mnuPopup->addSeparator();
    mnu_Popup[2] = mnuPopup->addAction(QStringLiteral("終了"));
}

void MainForm::wireEvents() {
    connect(mcheck, &QAction::triggered, this, &MainForm::mcheck_Click);
    connect(mset, &QAction::triggered, this, &MainForm::mset_Click);
    connect(mtask, &QAction::triggered, this, &MainForm::mtask_Click);
    connect(mset2, &QAction::triggered, this, &MainForm::mset2_Click);
    connect(mebent, &QAction::triggered, this, &MainForm::mebent_Click);
    connect(mmodosu, &QAction::triggered, this, &MainForm::mmodosu_Click);
    connect(mzenmen, &QAction::triggered, this, &MainForm::mzenmen_Click);
    connect(mkaijyo, &QAction::triggered, this, &MainForm::mkaijyo_Click);
    connect(mhp, &QAction::triggered, this, &MainForm::mhp_Click);
    connect(mnu_Popup[0], &QAction::triggered, this, [this] { mnu_Popup_Click(0); });
    connect(mnu_Popup[2], &QAction::triggered, this, [this] { mnu_Popup_Click(2); });
    connect(platform_.tray.get(), &TrayIcon::IconEvent, this, &MainForm::TrayControl1_IconEvent);

    connect(Command2, &QPushButton::clicked, this, &MainForm::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &MainForm::Command3_Click);

    connect(&Timer1, &FormTimer::Timer, this, &MainForm::Timer1_Timer);
    connect(&Timer2, &FormTimer::Timer, this, &MainForm::Timer2_Timer);
    connect(&Timer3, &FormTimer::Timer, this, &MainForm::Timer3_Timer);
    connect(&Timer4, &FormTimer::Timer, this, &MainForm::Timer4_Timer);
    connect(&Timer5, &FormTimer::Timer, this, &MainForm::Timer5_Timer);
}

void MainForm::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

} // namespace brindle
