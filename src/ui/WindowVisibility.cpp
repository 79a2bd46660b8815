#include "ui/WindowVisibility.h"

#include <QEvent>
#include <QWidget>

namespace brindle {

WindowVisibility::WindowVisibility(QWidget& window, QObject* parent)
    : QObject(parent), window_(window) {
    window_.installEventFilter(this);
}

bool WindowVisibility::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
        shown_ = true;
        break;
    case QEvent::Hide:
        shown_ = false;
        break;
    case QEvent::WindowStateChange:
        break;
    default:
        return QObject::eventFilter(watched, event);
    }
    const bool seen = shown_ && !window_.isMinimized();
    if (seen != seen_) {
        seen_ = seen;
        emit seenChanged(seen);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace brindle
