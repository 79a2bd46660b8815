#include "presentation/QtTrayIcon.h"

#include <QMenu>

namespace brindle {

QtTrayIcon::QtTrayIcon() : statusNotifierHost_(QDBusConnection::sessionBus()) {
    connect(&statusNotifierHost_, &StatusNotifierHostWatch::presentChanged, this,
            &QtTrayIcon::trayChanged);
    connect(&xembedTray_, &XEmbedTrayWatch::presentChanged, this, &QtTrayIcon::trayChanged);
    wasAvailable_ = isAvailable();
}

QtTrayIcon::~QtTrayIcon() = default;

bool QtTrayIcon::isAvailable() const {
    switch (kind_) {
    case Kind::StatusNotifier:
        return statusNotifierHost_.present();
    case Kind::XEmbed:
        return xembedTray_.present();
    case Kind::NotYetMade:
        break;
    }
    return statusNotifierHost_.present() || xembedTray_.present();
}

void QtTrayIcon::setIcon(const QIcon& icon) {
    image_ = icon;
    if (icon_) {
        icon_->setIcon(icon);
    }
}

void QtTrayIcon::setText(const QString& text) {
    text_ = text;
    if (icon_) {
        icon_->setToolTip(text);
    }
}

void QtTrayIcon::setMenu(QMenu* menu) {
    menu_ = menu;
    if (icon_) {
        icon_->setContextMenu(menu);
    }
}

void QtTrayIcon::show() {
    if (!icon_) {
        // Qt asks the same question of the session bus as the watch does.
        kind_ = statusNotifierHost_.present() ? Kind::StatusNotifier : Kind::XEmbed;
        icon_ = std::make_unique<QSystemTrayIcon>(image_);
        icon_->setToolTip(text_);
        icon_->setContextMenu(menu_);
        connect(icon_.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger) {
                        emit clicked();
                    }
                });
    }
    // A tray that restarted may not know the icon it held (a watcher that is
    // told of it before it is ready drops it): the icon is put in anew.
    if (lostTray_) {
        icon_->hide();
        lostTray_ = false;
    }
    icon_->show();
}

void QtTrayIcon::trayChanged() {
    const bool available = isAvailable();
    if (available == wasAvailable_) {
        return;
    }
    wasAvailable_ = available;
    lostTray_ = lostTray_ || !available;
    emit availabilityChanged(available);
}

} // namespace brindle
