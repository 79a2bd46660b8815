#include "shell/DesktopPlatform.h"

#include "mail/DetachedProgramLauncher.h"
#include "mail/QtFileChooser.h"
#include "mail/dialup/NetworkManagerDialUp.h"
#include "mail/pop3/Pop3MailLib.h"
#include "presentation/DesktopUrlOpener.h"
#include "presentation/QtTrayIcon.h"
#include "presentation/sound/FluidSynthMediaControl.h"
#include "presentation/web/WebEngineSceneView.h"
#include "settings/core/ProgramFolder.h"
#include "shell/ImmediateProgramEnd.h"
#include "shell/QtEventPump.h"
#include "shell/QtMessageBoxes.h"
#include "shell/QtWindowStacking.h"
#include "shell/SteadyClock.h"

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
    platform.mailLib = std::make_unique<Pop3MailLib>();
    platform.launcher = std::make_unique<DetachedProgramLauncher>();
    platform.fileChooser = std::make_unique<QtFileChooser>();
    platform.dialUp = std::make_unique<NetworkManagerDialUp>(QDBusConnection::systemBus());
    platform.media = std::make_unique<FluidSynthMediaControl>();
    platform.tray = std::make_unique<QtTrayIcon>();
    platform.urlOpener = std::make_unique<DesktopUrlOpener>();
    platform.createSceneView = [](QWidget* parent) {
        return std::make_unique<WebEngineSceneView>(parent);
    };
    return platform;
}

} // namespace brindle
