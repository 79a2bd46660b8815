#pragma once

#include "app/Platform.h"
#include "mail/FileChooser.h"
#include "mail/MailClient.h"
#include "mail/ProgramLauncher.h"
#include "mail/WakeSignals.h"
#include "mail/dialup/DialUpLinks.h"
#include "presentation/DesktopNotifications.h"
#include "presentation/SceneView.h"
#include "presentation/TrayIcon.h"
#include "presentation/UrlOpener.h"
#include "presentation/sound/TunePlayer.h"
#include "settings/core/DesktopAccounts.h"
#include "signin/SecretStore.h"
#include "signin/SignInPrompts.h"
#include "ui/EventPump.h"
#include "ui/MessageBoxes.h"
#include "ui/MonotonicClock.h"
#include "ui/ProgramEnd.h"
#include "ui/WindowStacking.h"

#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace brindle::test {

// A clock that only moves when told to.
class FakeClock : public MonotonicClock {
public:
    std::int64_t now = 0;
    std::int64_t milliseconds() override { return now; }
};

// Events scheduled at fake-clock times; waiting advances the clock to the
// next event or the end of the wait and runs what fell due.
class FakeEventPump : public EventPump {
public:
    explicit FakeEventPump(FakeClock& clock) : clock_(clock) {}
    void at(std::uint32_t delayFromNow, std::function<void()> event);
    void processPendingEvents() override;
    void waitForEvents(std::uint32_t maxMilliseconds) override;

    int processRounds = 0;
    int waits = 0;

private:
    struct Scheduled {
        std::int64_t due;
        std::function<void()> event;
    };
    FakeClock& clock_;
    std::vector<Scheduled> scheduled_;
};

class FakeStacking : public WindowStacking {
public:
    void setTopmost(QWidget& window, bool topmost) override;
    std::vector<std::pair<QWidget*, bool>> calls;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    struct Shown {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };
    Answer show(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;
    std::vector<Shown> shown;
    Answer answer = Answer::No; // for Yes/No questions
    std::function<void()> whileOpen;
};

class FakeProgramEnd : public ProgramEnd {
public:
    void endNow() override { ++ends; }
    int ends = 0;
};

// A scripted mail client whose sessions record every call in order:
// "open <server>", "log in <id> <password> <APOP|USER|BEARER>", "header n", "size n",
// "fetch n", "headers <id>,<id>...", "close".
class FakeMailClient : public MailClient {
public:
    std::unique_ptr<MailSession> open(const QString& server) override;

    QStringList calls;
    bool connects = true;
    int messageCount = 0;
    // What the sessions answer to checkReadsMessages().
    bool readsMessages = true;
    QString errorText;           // when set, the login fails with it
    QString openidConfiguration; // and names this discovery document
    std::function<void()> duringLogIn;
    // What messageIds() gives, and the headers by id.
    std::optional<QStringList> ids;
    QHash<QString, MailHeader> headers;
};

class FakeLauncher : public ProgramLauncher {
public:
    bool start(const QString& program) override {
        started << program;
        return true;
    }
    QStringList started;
};

class FakeFileChooser : public FileChooser {
public:
    QString chooseFile(QWidget*) override {
        ++opened;
        return answers.empty() ? QString() : takeFirst();
    }
    std::deque<QString> answers; // an empty text is a cancel
    int opened = 0;

private:
    QString takeFirst() {
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeDialUpLinks : public DialUpLinks {
public:
    std::optional<QStringList> active() override {
        ++listings;
        return activeLinks;
    }
    void hangUp(const QString& id) override { hungUp << id; }
    std::optional<QStringList> activeLinks = QStringList{};
    int listings = 0;
    QStringList hungUp;
};

// Records the calls in order ("open <file>", "play", "play from start", "stop",
// "close"); open() and isStopped() answer as the test sets them.
class FakeTunePlayer : public TunePlayer {
public:
    OpenResult open(const QString& file) override;
    bool play() override;
    bool playFromStart() override;
    void stop() override { calls << QStringLiteral("stop"); }
    void close() override { calls << QStringLiteral("close"); }
    bool isStopped() const override { return stopped; }
    QStringList calls;
    OpenResult openResult = OpenResult::Opened;
    bool stopped = false;
};

class FakeSceneView : public SceneView {
public:
    explicit FakeSceneView(QWidget* parent) : widget_(new QWidget(parent)) {}
    QWidget* widget() override { return widget_; }
    void showPage(const QUrl& page, const QString&) override { pages << page.toLocalFile(); }
    void setSeen(bool nowSeen) override { seen = nowSeen; }
    void prepare(const QUrl&) override {}
    QStringList pages; // the local files of the pages asked for
    bool seen = true;

private:
    QWidget* widget_;
};

class FakeTray : public TrayIcon {
public:
    bool isAvailable() const override { return available; }
    void setIcon(const QIcon& given) override {
        icon = given;
        iconSet = !given.isNull() || iconSet;
    }
    void setText(const QString& text) override { texts << text; }
    void setMenu(QMenu* given) override { menu = given; }
    void show() override { ++shows; }
    bool available = true;
    bool iconSet = false;
    QIcon icon;
    QStringList texts;
    QMenu* menu = nullptr;
    int shows = 0;
};

// Records "show <replacing> <summary>: <line>|<line>..." and "close <id>";
// the notices get ids 1, 2, ...
class FakeNotifications : public DesktopNotifications {
public:
    uint show(uint replacing, const QString& summary, const QStringList& lines) override {
        calls << QStringLiteral("show %1 %2: %3").arg(replacing).arg(summary, lines.join(u'|'));
        return ++lastId;
    }
    void close(uint id) override { calls << QStringLiteral("close %1").arg(id); }
    QStringList calls;
    uint lastId = 0;
};

class FakeUrlOpener : public UrlOpener {
public:
    bool open(const QUrl& address) override {
        opened << address;
        return true;
    }
    QList<QUrl> opened;
};

// A keyring in memory; when failure is set, every call fails with it.
class FakeSecretStore : public SecretStore {
public:
    std::variant<QByteArray, Missing, Failure> read(const QString& key) override;
    std::optional<Failure> write(const QString& key, const QByteArray& secret) override;
    std::optional<Failure> remove(const QString& key) override;
    std::map<QString, QByteArray> secrets;
    std::optional<Failure> failure;
};

class FakeSignInPrompts : public SignInPrompts {
public:
    bool trustAuthorizationServer(const QString& authorizationHost,
                                  const QString& mailHost) override {
        asked << QStringLiteral("trust %1 for %2").arg(authorizationHost, mailHost);
        return trust;
    }
    std::optional<OAuthClient> askClientId(const QString& authorizationServer,
                                           const QString& mailHost,
                                           const OAuthClient& previous) override {
        asked << QStringLiteral("client for %1 for %2, shown %3")
                     .arg(authorizationServer, mailHost, previous.id);
        return answer;
    }
    bool trust = true;
    std::optional<OAuthClient> answer; // nullopt: the user stops
    QStringList asked;
};

// Desktop accounts the test lists; each login is given the secret or the refusal set.
class FakeDesktopAccounts : public DesktopAccounts {
public:
    void listMailAccounts(QObject*,
                          std::function<void(const QList<MailAccount>&)> done) override {
        done(accounts);
    }
    std::variant<Secret, QString> loginSecret(const QString& accountId,
                                              const QString& server) override {
        asked << accountId + u' ' + server;
        return secret;
    }
    QList<MailAccount> accounts;
    std::variant<Secret, QString> secret = Secret{QStringLiteral("desktop-secret")};
    QStringList asked;
};

// Every fake, reachable by the test after the platform has been handed over.
struct Fakes {
    FakeClock* clock;
    FakeEventPump* events;
    FakeStacking* stacking;
    FakeMessageBoxes* messageBoxes;
    FakeProgramEnd* programEnd;
    FakeMailClient* mailClient;
    FakeLauncher* launcher;
    FakeFileChooser* fileChooser;
    FakeDialUpLinks* dialUpLinks;
    WakeSignals* wakeSignals; // emitted by the test
    FakeTunePlayer* tunePlayer;
    FakeTray* tray;
    FakeNotifications* notifications;
    FakeUrlOpener* urlOpener;
    FakeSecretStore* secrets;
    FakeSignInPrompts* signInPrompts;
    FakeDesktopAccounts* desktopAccounts;
    FakeSceneView* scene = nullptr;
    std::FILE* timeMarks = nullptr; // where the program's time marks go, if anywhere
};

Platform makeFakePlatform(const QString& programFolder, Fakes& fakes);

} // namespace brindle::test
