#pragma once

#include "ui/WindowStacking.h"

namespace brindle {

// Always-in-front through the window's stays-on-top hint, changed on the
// native window in place so the window is neither hidden nor moved.
class QtWindowStacking : public WindowStacking {
public:
    void setTopmost(QWidget& window, bool topmost) override;
};

} // namespace brindle
