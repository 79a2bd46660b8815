#pragma once

#include "settings/core/SettingsLocation.h"
#include "ui/TimeMarks.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace brindle {

class DesktopAccounts;
class DesktopNotifications;
class DialUpLinks;
class EventPump;
class FileChooser;
class MailClient;
class MessageBoxes;
class MonotonicClock;
class ProgramEnd;
class ProgramLauncher;
class SignInPrompts;
class WakeSignals;
class SecretStore;
class SceneView;
class TrayIcon;
class TunePlayer;
class UrlOpener;
class WindowStacking;

// Everything the windows borrow from the desktop, chosen in one place: the
// desktop program fills it with the real services, tests with fakes.
struct Platform {
    Platform();
    Platform(Platform&&) noexcept;
    ~Platform();

    QString programFolder; // folder of the program file, no trailing separator
    SettingsLocation settings;
    std::unique_ptr<MonotonicClock> clock;
    std::unique_ptr<EventPump> events;
    std::unique_ptr<WindowStacking> stacking;
    std::unique_ptr<MessageBoxes> messageBoxes;
    std::unique_ptr<ProgramEnd> programEnd;
    std::unique_ptr<MailClient> mailClient;
    std::unique_ptr<ProgramLauncher> launcher;
    std::unique_ptr<FileChooser> fileChooser;
    std::unique_ptr<DialUpLinks> dialUpLinks;
    std::unique_ptr<WakeSignals> wakeSignals;
    std::unique_ptr<TunePlayer> tunePlayer;
    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<DesktopNotifications> notifications;
    std::unique_ptr<UrlOpener> urlOpener;
    std::unique_ptr<SecretStore> secrets;
    std::unique_ptr<DesktopAccounts> desktopAccounts;
    std::unique_ptr<SignInPrompts> signInPrompts;
    std::function<std::unique_ptr<SceneView>(QWidget* parent)> createSceneView;
    TimeMarks timeMarks; // silent unless a benchmark asks for them
};

} // namespace brindle
