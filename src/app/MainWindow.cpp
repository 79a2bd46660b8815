#include "app/MainWindow.h"

#include "mail/MailCheck.h"
#include "mail/Mailer.h"
#include "mail/StatusLamp.h"
#include "mail/TimedChecking.h"
#include "mail/WakeSignals.h"
#include "presentation/DesktopNotifications.h"
#include "presentation/SceneAndTune.h"
#include "presentation/SceneView.h"
#include "presentation/TrayIcon.h"
#include "presentation/TrayResidence.h"
#include "presentation/UrlOpener.h"
#include "settings/AccountDialog.h"
#include "settings/MailboxListWindow.h"
#include "settings/ServerSettingsDialog.h"
#include "settings/SettingsWindow.h"
#include "settings/StoredTick.h"
#include "settings/core/ServerFile.h"
#include "settings/core/SettingKeys.h"
#include "ui/LetWindowPaint.h"
#include "ui/MessageBoxes.h"
#include "ui/ProgramEnd.h"
#include "ui/ScrollingCaption.h"
#include "ui/Twips.h"
#include "ui/WaitWhileEventsRun.h"
#include "ui/WidgetStyle.h"
#include "ui/WindowStacking.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace brindle {

namespace {

constexpr char HomePage[] = "https://quillworks.example/brindle/";
// How long the scene waits at most for the window manager to show the board.
constexpr std::chrono::milliseconds BoardAppearanceLimit{100};
// A mailbox's error in the tray icon's text is cut to its first line and this length.
constexpr qsizetype TrayReasonLength = 48;

} // namespace

MainWindow::MainWindow(Platform platform)
    : platform_(std::move(platform)), files_(platform_.programFolder, platform_.settings),
      accessTokens_(*platform_.secrets), mailboxPasswords_(*platform_.secrets),
      browserSignIn_(*platform_.mailClient, *platform_.urlOpener, *platform_.secrets,
                     *platform_.signInPrompts),
      settingsWindow([this] {
          auto* window = new SettingsWindow(this, files_);
          wireSettingsWindow(*window);
          return window;
      }),
      serverSettingsDialog([this] {
          return new ServerSettingsDialog(this, files_.serverFile(), shared, *platform_.stacking,
                                          *platform_.messageBoxes);
      }),
      accountDialog([this] {
          return new AccountDialog(this, files_, shared, *platform_.messageBoxes, browserSignIn_,
                                   *platform_.desktopAccounts);
      }),
      mailboxListWindow([this] {
          auto* window =
              new MailboxListWindow(this, files_, shared, mailboxPasswords_, browserSignIn_,
                                    *platform_.desktopAccounts, *platform_.messageBoxes);
          connect(window, &MailboxListWindow::mailboxesChanged, &otherPushWatching,
                  &OtherMailboxesPushWatching::mailboxesChanged);
          // The lines told of the mailboxes before; the next check tells of these.
          connect(window, &MailboxListWindow::mailboxesChanged, &tray,
                  [this] { tray.setMailboxLines({}); });
          return window;
      }),
      noticeBoard([this] { return new NoticeBoard(*platform_.stacking); }),
      mailCheck(MailCheck::Services{*platform_.mailClient, *platform_.dialUpLinks, shared,
                                    accessTokens_, mailboxPasswords_, files_,
                                    [this] { return settingsWindow->hangsUp(); },
                                    platform_.timeMarks, platform_.desktopAccounts.get()}),
      timedChecking([this] { return mailCheck.isRunning(); }),
      pushWatching(
          *platform_.mailClient, [this] { return mailCheck.isRunning(); },
          [this] { return mailCheck.nextAccess(); }),
      otherPushWatching(
          *platform_.mailClient, [this] { return mailCheck.isRunning(); },
          [this] { return mailCheck.otherMailboxes(); },
          [this](const Mailbox& mailbox) { return mailCheck.mailboxAccess(mailbox); }),
      tray(*this, *platform_.tray, *platform_.messageBoxes),
      newMailNotices(*platform_.notifications) {
    setWindowTitle(QStringLiteral("Brindle Ver 1.0"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    buildLayout();
    makeParts();
    buildMenus();
    setFixedSize(centralWidget()->width(),
                 centralWidget()->height() + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    wire();
    restoreSettings();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildLayout() {
    auto* client = new QWidget(this);
    client->setFixedSize(twips(2775), twips(2895));
    setBackground(client, QColor(64, 0, 0));
    setCentralWidget(client);

    sceneArea = new QWidget(client);
    sceneArea->setGeometry(twipsRect(0, 0, 2775, 1815));
    sceneView_ = platform_.createSceneView(sceneArea);
    sceneView_->widget()->setParent(sceneArea);
    sceneView_->widget()->setGeometry(twipsRect(-50, -480, 3615, 3255));

    launchStrip = new QWidget(client);
    launchStrip->setGeometry(twipsRect(-120, 1800, 2895, 375));
    setBackground(launchStrip, QColor(224, 224, 224));
    launchMailerLabel = makeLabel(launchStrip, tr("新着有りで設定メーラーを起動"),
                                  twipsRect(140, 100, 2415, 255), QColor(0, 0, 255));
    launchMailerBox = new QCheckBox(launchStrip);
    launchMailerBox->setGeometry(twipsRect(2560, 60, 255, 255));
    launchMailerBox->setAccessibleName(launchMailerLabel->text());
    setBackground(launchMailerBox, QColor(224, 224, 224));

    statusStrip = new QWidget(client);
    statusStrip->setGeometry(twipsRect(-120, 2160, 2895, 735));
    setBackground(statusStrip, QColor(0, 64, 0));

    titleStrip = new QWidget(statusStrip);
    titleStrip->setGeometry(twipsRect(0, 0, 2895, 300));
    // Its picture from the top left corner, as an opaque background: the name
    // moves over it fifty times a second, and neither the strip nor anything
    // below it then needs a paint routine of its own.
    setBackground(titleStrip, QBrush(QPixmap(QStringLiteral(":/images/title.png"))));
    lamp = new QLabel(titleStrip);
    lamp->setGeometry(twipsRect(120, 0, 240, 240));
    lamp->setPixmap(QPixmap(QStringLiteral(":/images/lamp_green.png")));
    showLampState(false);
    mailerName = new ScrollingCaption(tr("インターバルチェック"), twips(2415), titleStrip);
    mailerName->setGeometry(0, 0, titleStrip->width(), twips(255));
    mailerName->setTextLeft(twips(Mailer::StartLeft));
    setTextColour(mailerName, QColor(255, 255, 0));
    QFont marqueeFont(QStringLiteral("ＭＳ Ｐゴシック"));
    marqueeFont.setPointSizeF(11.25);
    marqueeFont.setBold(true);
    mailerName->setFont(marqueeFont);
    mailerName->setAccessibleDescription(tr("新着メールで起動するメーラー"));

    const QColor white(255, 255, 255);
    intervalStateLabel = makeLabel(statusStrip, tr("ON"), twipsRect(130, 400, 375, 255), white);
    intervalOnBox = new QCheckBox(statusStrip);
    intervalOnBox->setGeometry(twipsRect(460, 400, 255, 180));
    intervalOnBox->setEnabled(false);
    intervalOnBox->setAccessibleName(tr("インターバルチェック"));
    intervalField = new QLineEdit(statusStrip);
    intervalField->setGeometry(twipsRect(840, 350, 495, 270));
    intervalField->setAlignment(Qt::AlignRight);
    intervalField->setEnabled(false);
    intervalField->setAccessibleName(tr("チェックの間隔（分）"));
    intervalField->setToolTip(intervalField->accessibleName());
    minutesLabel = makeLabel(statusStrip, tr("分"), twipsRect(1440, 400, 375, 255), white);
    // The unit is a single letter in English: the tune's button covers the rest of its place.
    minutesLabel->setToolTip(intervalField->accessibleName());
    const QColor grey(192, 192, 192);
    tuneOnButton = makeButton(statusStrip, tr("ON♪"), twipsRect(1680, 300, 615, 400), grey);
    tuneOffButton = makeButton(statusStrip, tr("OFF"), twipsRect(2280, 300, 615, 400), grey);
    tuneOnButton->setAccessibleName(tr("曲を鳴らす"));
    tuneOffButton->setAccessibleName(tr("曲を止める"));
}

void MainWindow::buildMenus() {
    fileMenu = menuBar()->addMenu(tr("ファイル(&F)"));
    checkMailAction = fileMenu->addAction(tr("メールチェック"));
    fileMenu->addSeparator();
    chooseMailerAction = fileMenu->addAction(tr("起動メーラーの設定"));
    moveToTrayAction = fileMenu->addAction(tr("タスクトレイに常駐"));
    settingsAction = fileMenu->addAction(tr("設定"));
    mailboxesAction = fileMenu->addAction(tr("メールボックス"));
    notifyAction = fileMenu->addAction(tr("新着メールを通知"));
    notifyAction->setCheckable(true);
    fileMenu->addSeparator();
    newMailSceneAction = fileMenu->addAction(tr("イベント確認"));
    normalSceneAction = fileMenu->addAction(tr("戻す"));
    fileMenu->addSeparator();
    keepInFrontAction = fileMenu->addAction(tr("常に前面表示"));
    stopKeepingInFrontAction = fileMenu->addAction(tr("前面表示解除"));
    fileMenu->addSeparator();
    homePageAction = fileMenu->addAction(tr("作者のホームページ"));
}

void MainWindow::makeParts() {
    sceneAndTune = std::make_unique<SceneAndTune>(*sceneView_, *platform_.tunePlayer, files_);
    mailer = std::make_unique<Mailer>(*mailerName, *platform_.fileChooser, *platform_.launcher,
                                      *platform_.clock);
    statusLamp =
        std::make_unique<StatusLamp>(*lamp, files_, [this](int ms) { waitWhileEventsRun(ms); });
}

// Every trigger of the window and what it sets off.
void MainWindow::wire() {
    connect(checkMailAction, &QAction::triggered, this,
            [this] { platform_.timeMarks.mark("menu-chosen"); });
    connect(checkMailAction, &QAction::triggered, &mailCheck, &MailCheck::checkMail);
    connect(chooseMailerAction, &QAction::triggered, this, [this] { mailer->chooseMailer(this); });
    connect(moveToTrayAction, &QAction::triggered, &tray, &TrayResidence::moveToTray);
    connect(settingsAction, &QAction::triggered, this, &MainWindow::showSettings);
    connect(mailboxesAction, &QAction::triggered, this, [this] { mailboxListWindow.show(); });
    connect(newMailSceneAction, &QAction::triggered, sceneAndTune.get(),
            &SceneAndTune::showNewMailScene);
    connect(normalSceneAction, &QAction::triggered, sceneAndTune.get(),
            &SceneAndTune::showNormalScene);
    connect(keepInFrontAction, &QAction::triggered, this, [this] { setKeepInFront(true); });
    connect(stopKeepingInFrontAction, &QAction::triggered, this, [this] { setKeepInFront(false); });
    connect(homePageAction, &QAction::triggered, this, &MainWindow::offerHomePage);
    connect(mailer.get(), &Mailer::chosenPathNotKept, this, [this] {
        platform_.messageBoxes->show(
            tr("選んだメーラーのパスには、設定ファイル（Shift-JIS）に保存できない文字が"
               "含まれているか、パスが長すぎます。今回は使えますが、次回の起動時には"
               "前の設定に戻ります。"),
            QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    });
    connect(tray.showWindowAction, &QAction::triggered, this, &MainWindow::show);
    connect(tray.quitAction, &QAction::triggered, this, &MainWindow::close);

    connect(&visibility, &WindowVisibility::seenChanged, mailer.get(), &Mailer::setSeen);
    connect(&visibility, &WindowVisibility::seenChanged, statusLamp.get(), &StatusLamp::setSeen);
    connect(&visibility, &WindowVisibility::seenChanged, this,
            [this](bool seen) { sceneView_->setSeen(seen); });

    connect(tuneOnButton, &QPushButton::clicked, sceneAndTune.get(), &SceneAndTune::playTune);
    connect(tuneOffButton, &QPushButton::clicked, sceneAndTune.get(), &SceneAndTune::stopTune);

    connect(&timedChecking, &TimedChecking::checkDue, &mailCheck, &MailCheck::checkMail);
    connect(&timedChecking, &TimedChecking::switched, statusLamp.get(), &StatusLamp::setIntervalOn);
    connect(&timedChecking, &TimedChecking::switched, this, &MainWindow::showLampState);
    connect(&timedChecking, &TimedChecking::switched, &pushWatching, &PushWatching::setIntervalOn);
    connect(&mailCheck, &MailCheck::loggedIn, &pushWatching, &PushWatching::useAccess);
    connect(&pushWatching, &PushWatching::checkDue, &mailCheck, &MailCheck::checkMail);
    connect(&timedChecking, &TimedChecking::switched, &otherPushWatching,
            &OtherMailboxesPushWatching::setIntervalOn);
    connect(&otherPushWatching, &OtherMailboxesPushWatching::checkDue, &mailCheck,
            &MailCheck::checkMail);
    // After sleep or a network change the push connection may be dead unnoticed.
    WakeSignals* wake = platform_.wakeSignals.get();
    connect(wake, &WakeSignals::woke, &pushWatching, &PushWatching::reconnect);
    connect(wake, &WakeSignals::woke, &timedChecking, &TimedChecking::countSleep);
    connect(wake, &WakeSignals::networkBack, &pushWatching, &PushWatching::reconnect);
    connect(wake, &WakeSignals::woke, &otherPushWatching, &OtherMailboxesPushWatching::reconnect);
    connect(wake, &WakeSignals::networkBack, &otherPushWatching,
            &OtherMailboxesPushWatching::reconnect);
    connect(&mailCheck, &MailCheck::accountRead, this,
            [this](const QString& id, const QString& password) {
                accountDialog->showAccount(id, password);
            });
    connect(&mailCheck, &MailCheck::accountMissing, this, [this] { accountDialog.show(); });
    connect(&mailCheck, &MailCheck::loginFailed, this, [this](const QString& text) {
        platform_.messageBoxes->show(text, tr("エラー"), MessageBoxes::Icon::None,
                                     MessageBoxes::Buttons::Ok);
    });
    connect(&mailCheck, &MailCheck::newMail, this, &MainWindow::announceNewMail);
    connect(&mailCheck, &MailCheck::mailboxesChecked, this, &MainWindow::showMailboxOutcomes);
    connect(&mailCheck, &MailCheck::mailboxRead, this, &MainWindow::showMailboxRead);
    connect(&newMailNotices, &NewMailNotices::clicked, this, &MainWindow::openNewMail);
}

// The settings window is made anew after each close; each time it is wired again.
void MainWindow::wireSettingsWindow(SettingsWindow& window) {
    connect(&window, &SettingsWindow::intervalChanged, &timedChecking, &TimedChecking::setInterval);
    connect(&window, &SettingsWindow::intervalChanged, this, &MainWindow::showInterval);
    connect(&window, &SettingsWindow::accountRequested, this, [this] { accountDialog.show(); });
    connect(&window, &SettingsWindow::serverSettingsRequested, this,
            [this] { serverSettingsDialog.show(); });
    // Closed, it is made again at once, hidden, from the file it has just
    // written: the interval stands as a start with that file would set it.
    connect(
        &window, &SettingsWindow::closed, this, [this] { settingsWindow.get(); },
        Qt::QueuedConnection);
}

// Start-up: the settings window is made at once, hidden, so that the stored
// interval arms timed checking; the dialogs ask for what is missing.
void MainWindow::restoreSettings() {
    platform_.stacking->setTopmost(*this, true);
    settingsWindow.get();
    ServerFile::read(files_.serverFile(), shared);
    if (shared.Pop3Server.isEmpty()) {
        serverSettingsDialog.show();
    }
    if (!accountDialog->hasAccount()) {
        accountDialog.show();
    }
    sceneAndTune->showNormalScene();
    const ProfileFile settings = files_.mainSettings();
    mailer->setPath(settings.readString(SettingKeys::Section, SettingKeys::MailerPath.name,
                                        QString::fromUtf8(SettingKeys::MailerPath.defaultText)));
    applyStoredTick(*launchMailerBox,
                    settings.readInt(SettingKeys::Section, SettingKeys::LaunchMailer.name));
    notifyAction->setChecked(
        settings.readString(SettingKeys::Section, SettingKeys::NotifyNewMail.name,
                            QString::fromUtf8(SettingKeys::NotifyNewMail.defaultText)) != u"0");
}

void MainWindow::saveAndQuit() {
    if (ending_) {
        return;
    }
    ending_ = true;
    sceneAndTune->stopTune();
    ProfileFile settings = files_.mainSettings();
    // A path the file cannot hold whole is not saved (the user was told when
    // choosing it): the next start has the stored one, not a cut one.
    if (ProfileFile::holdsWhole(mailer->path())) {
        settings.writeString(SettingKeys::Section, SettingKeys::MailerPath.name, mailer->path());
    }
    settings.writeString(SettingKeys::Section, SettingKeys::LaunchMailer.name,
                         storedTick(*launchMailerBox));
    settings.writeString(SettingKeys::Section, SettingKeys::NotifyNewMail.name,
                         notifyAction->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    // An open settings window keeps its edits, as closing it would.
    if (settingsWindow.exists() && settingsWindow->isVisible()) {
        settingsWindow->saveOnClose();
    }
    platform_.programEnd->endNow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    saveAndQuit();
    event->accept();
}

// A negative interval leaves the display as it stands.
void MainWindow::showInterval(int minutes, const QString& text) {
    if (minutes < 0) {
        return;
    }
    intervalStateLabel->setText(minutes > 0 ? tr("ON") : tr("OFF"));
    intervalOnBox->setChecked(minutes > 0);
    intervalField->setText(text);
}

// The lamp's name says what its blinking shows; a new name is announced.
void MainWindow::showLampState(bool intervalOn) {
    lamp->setAccessibleName(intervalOn ? tr("インターバルチェック: ON")
                                       : tr("インターバルチェック: OFF"));
}

void MainWindow::announceNewMail(int count) {
    if (launchMailerBox->isChecked()) {
        mailer->launch();
        return;
    }
    noticeBoard->showNotice(tr("新着メールが有ります"), count);
    platform_.timeMarks.markNextPaint(noticeBoard.get(), "board-shown");
    noticeBoard->appear();
    // Drawn before the scene and tune start, which take a while (the tune's sound font).
    letWindowPaint(noticeBoard.get(), BoardAppearanceLimit);
    if (settingsWindow->autoClosesBoard()) {
        waitWhileEventsRun(1000);
        noticeBoard.close();
    }
    sceneAndTune->showNewMailScene();
}

void MainWindow::showMailboxOutcomes(const QList<MailboxOutcome>& outcomes) {
    QStringList lines;
    QStringList failures;
    for (const MailboxOutcome& outcome : outcomes) {
        if (outcome.error.isEmpty()) {
            lines << tr("%1: %2通").arg(outcome.name).arg(outcome.count);
            continue;
        }
        const QString reason = outcome.error.section(QLatin1Char('\n'), 0, 0);
        lines << tr("%1: エラー（%2）")
                     .arg(outcome.name, reason.size() > TrayReasonLength
                                            ? reason.left(TrayReasonLength - 1) + QChar(0x2026)
                                            : reason);
        failures << outcome.name + QStringLiteral(": ") + outcome.error;
    }
    tray.setMailboxLines(lines);
    if (!failures.isEmpty()) {
        platform_.messageBoxes->show(failures.join(QStringLiteral("\n\n")), tr("エラー"),
                                     MessageBoxes::Icon::None, MessageBoxes::Buttons::Ok);
    }
}

void MainWindow::showMailboxRead(int count, const QList<NewMessages>& news) {
    tray.showMailCount(count);
    newMailNotices.tell(news, notifyAction->isChecked() &&
                                  (isHidden() || !platform_.tray->isAvailable()));
}

void MainWindow::openNewMail() {
    if (mailer->path() != QString::fromUtf8(SettingKeys::NotSet)) {
        mailer->launch();
        return;
    }
    show();
    raise();
    activateWindow();
}

void MainWindow::showSettings() {
    settingsWindow.show();
}

void MainWindow::setKeepInFront(bool inFront) {
    platform_.stacking->setTopmost(*this, inFront);
}

void MainWindow::offerHomePage() {
    const auto answer = platform_.messageBoxes->show(
        tr("「Quillworks」作者のホームページです。ちょっと見てみますか？"), tr("確認"),
        MessageBoxes::Icon::Question, MessageBoxes::Buttons::YesNo);
    if (answer == MessageBoxes::Answer::Yes &&
        !platform_.urlOpener->open(QUrl(QString::fromUtf8(HomePage)))) {
        qWarning("The web browser could not be started.");
    }
}

void MainWindow::waitWhileEventsRun(int ms) {
    brindle::waitWhileEventsRun(ms, *platform_.clock, *platform_.events);
}

} // namespace brindle
