#include "ui/QtWindowStacking.h"

#include <QWidget>
#include <QWindow>

namespace brindle {

void QtWindowStacking::setTopmost(QWidget& window, bool topmost) {
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, topmost);
    // QWidget::setWindowFlags would hide the window; set the hint on the widget
    // and on its native window without that.
    window.overrideWindowFlags(flags);
    if (QWindow* native = window.windowHandle()) {
        native->setFlags(flags);
    }
    window.show();
    if (topmost) {
        window.raise();
    }
}

} // namespace brindle
