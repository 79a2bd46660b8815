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

namespace brindle {

Platform::Platform() = default;
Platform::Platform(Platform&&) noexcept = default;
Platform::~Platform() = default;

} // namespace brindle
