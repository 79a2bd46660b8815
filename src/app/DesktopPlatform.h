#pragma once

#include "app/Platform.h"

namespace brindle {

// The real desktop services the program runs on.
Platform createDesktopPlatform();

} // namespace brindle
