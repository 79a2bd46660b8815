#include "shell/Platform.h"

#include "mail/FileChooser.h"
#include "mail/MailClient.h"
#include "mail/ProgramLauncher.h"
#include "mail/dialup/DialUpLinks.h"
#include "presentation/SceneView.h"
#include "presentation/TrayIcon.h"
#include "presentation/UrlOpener.h"
#include "presentation/sound/TunePlayer.h"
#include "shell/EventPump.h"
#include "shell/MessageBoxes.h"
#include "shell/MonotonicClock.h"
#include "shell/ProgramEnd.h"
#include "shell/WindowStacking.h"

namespace brindle {

Platform::Platform() = default;
Platform::Platform(Platform&&) noexcept = default;
Platform::~Platform() = default;

} // namespace brindle
