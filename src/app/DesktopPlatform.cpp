#include "app/DesktopPlatform.h"

#include "app/ImmediateProgramEnd.h"
#include "mail/DetachedProgramLauncher.h"
#include "mail/QtFileChooser.h"
#include "mail/ServerFieldMailClient.h"
#include "mail/SystemWakeSignals.h"
#include "mail/dialup/NetworkManagerDialUp.h"
#include "presentation/DesktopUrlOpener.h"
#include "presentation/FreedesktopNotifications.h"
#include "presentation/QtTrayIcon.h"
#include "presentation/scene/SceneProgramView.h"
#include "presentation/sound/FluidSynthTunePlayer.h"
#include "settings/core/ProgramFolder.h"
#include "signin/GnomeOnlineAccounts.h"
#include "signin/KeyringSecretStore.h"
#include "signin/SignInPromptWindows.h"
#include "ui/QtEventPump.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtWindowStacking.h"
#include "ui/SteadyClock.h"

#include <QDBusConnection>
#include <QStandardPaths>

namespace brindle {

Platform createDesktopPlatform() {
    Platform platform;
    platform.programFolder = ProgramFolder::path();
    platform.settings = SettingsLocation::forProgram(
        platform.programFolder,
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    platform.clock = std::make_unique<SteadyClock>();
    platform.events = std::make_unique<QtEventPump>();
    platform.stacking = std::make_unique<QtWindowStacking>();
    platform.messageBoxes = std::make_unique<QtMessageBoxes>();
    platform.programEnd = std::make_unique<ImmediateProgramEnd>();
    platform.mailClient = std::make_unique<ServerFieldMailClient>();
    platform.launcher = std::make_unique<DetachedProgramLauncher>();
    platform.fileChooser = std::make_unique<QtFileChooser>();
    platform.dialUpLinks = std::make_unique<NetworkManagerDialUp>(QDBusConnection::systemBus());
    platform.wakeSignals = std::make_unique<SystemWakeSignals>(QDBusConnection::systemBus());
    platform.tunePlayer = std::make_unique<FluidSynthTunePlayer>();
    platform.tray = std::make_unique<QtTrayIcon>();
    platform.notifications = std::make_unique<FreedesktopNotifications>(
        QDBusConnection::sessionBus(), QStringLiteral("example.quillworks.brindle"),
        QImage(QStringLiteral(":/images/icon.png")));
    platform.urlOpener = std::make_unique<DesktopUrlOpener>();
    platform.secrets = std::make_unique<KeyringSecretStore>();
    platform.desktopAccounts = std::make_unique<GnomeOnlineAccounts>(QDBusConnection::sessionBus());
    platform.signInPrompts = std::make_unique<SignInPromptWindows>();
    platform.createSceneView = [folder = platform.programFolder](QWidget* parent) {
        return std::make_unique<SceneProgramView>(parent,
                                                  folder + QStringLiteral("/brindle-scene"));
    };
    platform.timeMarks = TimeMarks::fromEnvironment();
    return platform;
}

} // namespace brindle
