#pragma once

class QWidget;

namespace brindle {

// Keeps a top-level window in front of all others, or releases it, without
// moving or resizing it; the window is shown as well.
class WindowStacking {
public:
    virtual ~WindowStacking() = default;
    virtual void setTopmost(QWidget& window, bool topmost) = 0;
};

} // namespace brindle
