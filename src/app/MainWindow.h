#pragma once

#include "app/NewMailNotices.h"
#include "app/NoticeBoard.h"
#include "app/Platform.h"
#include "mail/MailCheck.h"
#include "mail/OtherMailboxesPushWatching.h"
#include "mail/PushWatching.h"
#include "mail/TimedChecking.h"
#include "presentation/TrayResidence.h"
#include "settings/core/ProgramFiles.h"
#include "settings/core/SharedSettings.h"
#include "signin/KeyringAccessTokens.h"
#include "signin/KeyringMailboxPasswords.h"
#include "signin/OAuthSignIn.h"
#include "ui/OnDemandWindow.h"
#include "ui/WindowVisibility.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace brindle {

class AccountDialog;
class MailboxListWindow;
class Mailer;
class SceneAndTune;
class SceneView;
class ScrollingCaption;
class ServerSettingsDialog;
class SettingsWindow;
class StatusLamp;

// The program's one permanent window: it lays out the controls and menus,
// makes the parts that do the work and wires them together.
class MainWindow : public QMainWindow {
    Q_OBJECT
    // First, as everything below is made from them.
    Platform platform_;
    ProgramFiles files_;
    // The OAuth 2.0 sign-in and its tokens, for the account dialog and the checks.
    KeyringAccessTokens accessTokens_;
    // The passwords of the mailboxes after the first.
    KeyringMailboxPasswords mailboxPasswords_;
    OAuthSignIn browserSignIn_;

public:
    explicit MainWindow(Platform platform);
    ~MainWindow() override;

    SharedSettings shared;

    // Other windows, created on first use.
    OnDemandWindow<SettingsWindow> settingsWindow;
    OnDemandWindow<ServerSettingsDialog> serverSettingsDialog;
    OnDemandWindow<AccountDialog> accountDialog;
    OnDemandWindow<MailboxListWindow> mailboxListWindow;
    OnDemandWindow<NoticeBoard> noticeBoard;

    // Controls.
    QWidget* sceneArea = nullptr;
    QWidget* launchStrip = nullptr;
    QLabel* launchMailerLabel = nullptr;
    QCheckBox* launchMailerBox = nullptr;
    QWidget* statusStrip = nullptr;
    QWidget* titleStrip = nullptr;
    QLabel* lamp = nullptr;
    ScrollingCaption* mailerName = nullptr;
    QLabel* intervalStateLabel = nullptr;
    QCheckBox* intervalOnBox = nullptr;
    QLineEdit* intervalField = nullptr;
    QLabel* minutesLabel = nullptr;
    QPushButton* tuneOnButton = nullptr;
    QPushButton* tuneOffButton = nullptr;

    // Menus.
    QMenu* fileMenu = nullptr;
    QAction* checkMailAction = nullptr;
    QAction* chooseMailerAction = nullptr;
    QAction* moveToTrayAction = nullptr;
    QAction* settingsAction = nullptr;
    QAction* mailboxesAction = nullptr;
    QAction* notifyAction = nullptr; // new mail told on the desktop, checkable
    QAction* newMailSceneAction = nullptr;
    QAction* normalSceneAction = nullptr;
    QAction* keepInFrontAction = nullptr;
    QAction* stopKeepingInFrontAction = nullptr;
    QAction* homePageAction = nullptr;

    // The parts; those that show in a control are made once the controls are laid out.
    MailCheck mailCheck;
    TimedChecking timedChecking;
    PushWatching pushWatching;
    OtherMailboxesPushWatching otherPushWatching;
    TrayResidence tray;
    NewMailNotices newMailNotices;
    std::unique_ptr<SceneAndTune> sceneAndTune;
    std::unique_ptr<Mailer> mailer;
    std::unique_ptr<StatusLamp> statusLamp;
    // Whether the window can be seen; what only draws stops while it cannot.
    WindowVisibility visibility{*this};

    // The board and the new-mail scene, or the user's mail program when so chosen.
    void announceNewMail(int count);
    // Each mailbox's line in the tray icon's text, and one box for all that failed.
    void showMailboxOutcomes(const QList<MailboxOutcome>& outcomes);
    // The count on the tray icon; new mail on the desktop when the switch is
    // on and the window is in the tray or the desktop has none.
    void showMailboxRead(int count, const QList<NewMessages>& news);
    // A click on the notice: the mail program when one is chosen, else the window.
    void openNewMail();
    void showSettings();
    void setKeepInFront(bool inFront);
    void offerHomePage();
    // Stops the tune, saves the window's settings (and an open settings
    // window's) and ends the program.
    void saveAndQuit();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void makeParts();
    void wire();
    void wireSettingsWindow(SettingsWindow& window);
    void restoreSettings();
    void showInterval(int minutes, const QString& text);
    void showLampState(bool intervalOn);
    void waitWhileEventsRun(int ms);

    std::unique_ptr<SceneView> sceneView_;
    bool ending_ = false;
};

} // namespace brindle
