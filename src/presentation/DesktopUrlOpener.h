#pragma once

#include "presentation/UrlOpener.h"

namespace brindle {

// The desktop's URL handler (the user's web browser for web addresses).
class DesktopUrlOpener : public UrlOpener {
public:
    bool open(const QUrl& address) override;
};

} // namespace brindle
