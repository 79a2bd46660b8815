#include "presentation/QtTrayIcon.h"

namespace brindle {

QtTrayIcon::QtTrayIcon() {
    connect(&icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    emit activated(Activation::Click);
                } else if (reason == QSystemTrayIcon::Context) {
                    emit activated(Activation::MenuRequest);
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

void QtTrayIcon::show() {
    icon_.show();
}

} // namespace brindle
