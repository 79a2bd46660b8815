#include "support/FakePlatform.h"

#include <algorithm>

namespace brindle::test {

void FakeEventPump::at(std::uint32_t delayFromNow, std::function<void()> event) {
    scheduled_.push_back({elapsed_ + delayFromNow, std::move(event)});
}

void FakeEventPump::processPendingEvents() {
    ++processRounds;
    // Run what is due; events may schedule more while they run.
    for (;;) {
        auto due = std::find_if(scheduled_.begin(), scheduled_.end(),
                                [this](const Scheduled& s) { return s.due <= elapsed_; });
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
    std::uint64_t until = elapsed_ + maxMilliseconds;
    for (const Scheduled& s : scheduled_) {
        until = std::min(until, std::max(s.due, elapsed_));
    }
    clock_.now += static_cast<std::uint32_t>(until - elapsed_);
    elapsed_ = until;
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

int FakeMailLib::MailLibInitializeWinSock() {
    calls << QStringLiteral("init");
    return 0;
}

int FakeMailLib::MailLibSetOption(int option, int value) {
    calls << QStringLiteral("option %1 %2").arg(option).arg(value);
    return 0;
}

int FakeMailLib::MailLibPop3Connect(const QString& server) {
    calls << QStringLiteral("connect ") + server;
    return connectResult;
}

int FakeMailLib::MailLibPop3Authenticate(int handle, const QString& id, const QString& password,
                                         int apopFlag) {
    calls << QStringLiteral("auth %1 %2 %3 %4").arg(handle).arg(id, password).arg(apopFlag);
    if (duringAuthenticate) {
        duringAuthenticate();
    }
    return messageCount;
}

int FakeMailLib::MailLibPop3GetMailStatus(int handle, int number, MailStatus&) {
    calls << QStringLiteral("status %1 %2").arg(handle).arg(number);
    return 0;
}

qint64 FakeMailLib::MailLibPop3GetMailSize(int handle, int number) {
    calls << QStringLiteral("size %1 %2").arg(handle).arg(number);
    return 100;
}

int FakeMailLib::MailLibPop3GetMail(int handle, int number, MailStatus&, QByteArray&) {
    calls << QStringLiteral("mail %1 %2").arg(handle).arg(number);
    return 0;
}

QString FakeMailLib::MailLibGetMessage() {
    calls << QStringLiteral("message");
    return errorText;
}

int FakeMailLib::MailLibPop3Close(int handle) {
    calls << QStringLiteral("close %1").arg(handle);
    return 0;
}

int FakeMailLib::MailLibEndWinSock() {
    calls << QStringLiteral("end");
    return 0;
}

int RecordingMediaControl::mciSendString(const QString& command, QString* reply) {
    commands << command;
    if (reply && command.startsWith(QStringLiteral("status")) && !mode.isEmpty()) {
        *reply = mode;
        return 0;
    }
    return reply ? 1 : 0;
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
    take(platform.mailLib, fakes.mailLib, std::make_unique<FakeMailLib>());
    take(platform.launcher, fakes.launcher, std::make_unique<FakeLauncher>());
    take(platform.fileChooser, fakes.fileChooser, std::make_unique<FakeFileChooser>());
    take(platform.dialUp, fakes.dialUp, std::make_unique<FakeDialUp>());
    take(platform.media, fakes.media, std::make_unique<RecordingMediaControl>());
    take(platform.tray, fakes.tray, std::make_unique<FakeTray>());
    take(platform.urlOpener, fakes.urlOpener, std::make_unique<FakeUrlOpener>());
    platform.createSceneView = [&fakes](QWidget* parent) {
        auto scene = std::make_unique<FakeSceneView>(parent);
        fakes.scene = scene.get();
        return scene;
    };
    return platform;
}

} // namespace brindle::test
