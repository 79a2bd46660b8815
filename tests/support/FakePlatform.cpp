#include "support/FakePlatform.h"

#include <algorithm>

namespace brindle::test {

void FakeEventPump::at(std::uint32_t delayFromNow, std::function<void()> event) {
    scheduled_.push_back({clock_.now + delayFromNow, std::move(event)});
}

void FakeEventPump::processPendingEvents() {
    ++processRounds;
    // Run what is due; events may schedule more while they run.
    for (;;) {
        auto due = std::find_if(scheduled_.begin(), scheduled_.end(),
                                [this](const Scheduled& s) { return s.due <= clock_.now; });
        if (due == scheduled_.end()) {
            return;
        }
        auto event = std::move(due->event);
        scheduled_.erase(due);
        event();
    }
}

void FakeEventPump::waitForEvents(std::uint32_t maxMilliseconds) {
    ++waits;
    std::int64_t until = clock_.now + maxMilliseconds;
    for (const Scheduled& s : scheduled_) {
        until = std::min(until, std::max(s.due, clock_.now));
    }
    clock_.now = until;
}

void FakeStacking::setTopmost(QWidget& window, bool topmost) {
    calls.emplace_back(&window, topmost);
    window.show();
}

MessageBoxes::Answer FakeMessageBoxes::show(const QString& text, const QString& caption, Icon icon,
                                            Buttons buttons) {
    shown.push_back({text, caption, icon, buttons});
    if (whileOpen) {
        whileOpen();
    }
    return buttons == Buttons::YesNo ? answer : Answer::Ok;
}

namespace {

class FakeMailSession : public MailSession {
public:
    explicit FakeMailSession(FakeMailClient& client) : client_(client) {}
    ~FakeMailSession() override { client_.calls << QStringLiteral("close"); }

    std::variant<int, MailError> logIn(const QString& id, const QString& password,
                                       Authentication authentication) override {
        const char* const names[] = {"USER", "APOP", "BEARER"};
        client_.calls << QStringLiteral("log in %1 %2 %3")
                             .arg(id, password, QLatin1String(names[int(authentication)]));
        if (client_.duringLogIn) {
            client_.duringLogIn();
        }
        if (!client_.errorText.isEmpty()) {
            return MailError{client_.errorText, client_.openidConfiguration};
        }
        return client_.messageCount;
    }
    std::optional<MailHeader> header(int number) override {
        client_.calls << QStringLiteral("header %1").arg(number);
        return MailHeader{};
    }
    std::optional<qint64> size(int number) override {
        client_.calls << QStringLiteral("size %1").arg(number);
        return 100;
    }
    std::optional<QByteArray> fetch(int number) override {
        client_.calls << QStringLiteral("fetch %1").arg(number);
        return QByteArray();
    }
    std::optional<QStringList> messageIds() override { return client_.ids; }
    QHash<QString, MailHeader> headers(const QStringList& ids) override {
        client_.calls << QStringLiteral("headers ") + ids.join(u',');
        QHash<QString, MailHeader> found;
        for (const QString& id : ids) {
            if (client_.headers.contains(id)) {
                found.insert(id, client_.headers.value(id));
            }
        }
        return found;
    }
    bool checkReadsMessages() const override { return client_.readsMessages; }
    bool isOpen() const override { return true; }

private:
    FakeMailClient& client_;
};

} // namespace

std::unique_ptr<MailSession> FakeMailClient::open(const QString& server) {
    calls << QStringLiteral("open ") + server;
    if (!connects) {
        return nullptr;
    }
    return std::make_unique<FakeMailSession>(*this);
}

TunePlayer::OpenResult FakeTunePlayer::open(const QString& file) {
    calls << QStringLiteral("open ") + file;
    return openResult;
}

bool FakeTunePlayer::play() {
    calls << QStringLiteral("play");
    return true;
}

bool FakeTunePlayer::playFromStart() {
    calls << QStringLiteral("play from start");
    return true;
}

std::variant<QByteArray, SecretStore::Missing, SecretStore::Failure>
FakeSecretStore::read(const QString& key) {
    if (failure) {
        return *failure;
    }
    const auto found = secrets.find(key);
    if (found == secrets.end()) {
        return Missing{};
    }
    return found->second;
}

std::optional<SecretStore::Failure> FakeSecretStore::write(const QString& key,
                                                           const QByteArray& secret) {
    if (!failure) {
        secrets[key] = secret;
    }
    return failure;
}

std::optional<SecretStore::Failure> FakeSecretStore::remove(const QString& key) {
    if (!failure) {
        secrets.erase(key);
    }
    return failure;
}

Platform makeFakePlatform(const QString& programFolder, Fakes& fakes) {
    Platform platform;
    platform.programFolder = programFolder;
    platform.settings = SettingsLocation::besideProgram(programFolder);
    auto clock = std::make_unique<FakeClock>();
    fakes.clock = clock.get();
    auto events = std::make_unique<FakeEventPump>(*clock);
    fakes.events = events.get();
    platform.clock = std::move(clock);
    platform.events = std::move(events);
    auto take = [](auto& slot, auto*& fake, auto made) {
        fake = made.get();
        slot = std::move(made);
    };
    take(platform.stacking, fakes.stacking, std::make_unique<FakeStacking>());
    take(platform.messageBoxes, fakes.messageBoxes, std::make_unique<FakeMessageBoxes>());
    take(platform.programEnd, fakes.programEnd, std::make_unique<FakeProgramEnd>());
    take(platform.mailClient, fakes.mailClient, std::make_unique<FakeMailClient>());
    take(platform.launcher, fakes.launcher, std::make_unique<FakeLauncher>());
    take(platform.fileChooser, fakes.fileChooser, std::make_unique<FakeFileChooser>());
    take(platform.dialUpLinks, fakes.dialUpLinks, std::make_unique<FakeDialUpLinks>());
    take(platform.wakeSignals, fakes.wakeSignals, std::make_unique<WakeSignals>());
    take(platform.tunePlayer, fakes.tunePlayer, std::make_unique<FakeTunePlayer>());
    take(platform.tray, fakes.tray, std::make_unique<FakeTray>());
    take(platform.notifications, fakes.notifications, std::make_unique<FakeNotifications>());
    take(platform.urlOpener, fakes.urlOpener, std::make_unique<FakeUrlOpener>());
    take(platform.secrets, fakes.secrets, std::make_unique<FakeSecretStore>());
    take(platform.signInPrompts, fakes.signInPrompts, std::make_unique<FakeSignInPrompts>());
    take(platform.desktopAccounts, fakes.desktopAccounts, std::make_unique<FakeDesktopAccounts>());
    platform.createSceneView = [&fakes](QWidget* parent) {
        auto scene = std::make_unique<FakeSceneView>(parent);
        fakes.scene = scene.get();
        return scene;
    };
    platform.timeMarks = TimeMarks(fakes.timeMarks);
    return platform;
}

} // namespace brindle::test
