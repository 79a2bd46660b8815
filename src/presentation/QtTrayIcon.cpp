#include "presentation/QtTrayIcon.h"

namespace brindle {

QtTrayIcon::QtTrayIcon() {
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    emit clicked();
                }
            });
}

bool QtTrayIcon::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::setIcon(const QIcon& icon) {
    icon_.setIcon(icon);
}

void QtTrayIcon::setText(const QString& text) {
    icon_.setToolTip(text);
}

void QtTrayIcon::setMenu(QMenu* menu) {
    icon_.setContextMenu(menu);
}

void QtTrayIcon::show() {
    icon_.show();
}

} // namespace brindle
