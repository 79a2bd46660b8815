#pragma once

#include "presentation/DesktopNotifications.h"

#include <QDBusConnection>
#include <QImage>

namespace brindle {

// Notifications through the desktop's notification server on the session bus
// (org.freedesktop.Notifications): a notice names the program by its menu
// entry and carries its icon; its lines are escaped where the server reads
// markup, and a click on it counts where the server offers actions. Without
// a server nothing is sent and nothing is said. Every call waits a few
// seconds at most.
class FreedesktopNotifications : public DesktopNotifications {
    Q_OBJECT
public:
    FreedesktopNotifications(QDBusConnection bus, QString desktopEntry, QImage icon);

    uint show(uint replacing, const QString& summary, const QStringList& lines) override;
    void close(uint id) override;

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    QDBusConnection bus_;
    QString desktopEntry_;
    QImage icon_;
};

} // namespace brindle
