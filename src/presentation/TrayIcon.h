#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;

namespace brindle {

// The icon that stands for the program in the desktop's system tray.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Whether the desktop has a tray the icon can stand in now.
    virtual bool isAvailable() const = 0;
    virtual void setIcon(const QIcon& icon) = 0;
    virtual void setText(const QString& text) = 0;
    // The icon's menu, which the tray opens itself: on a right click in an
    // XEmbed tray, through DBusMenu on a StatusNotifierItem host.
    virtual void setMenu(QMenu* menu) = 0;
    virtual void show() = 0;

signals:
    void clicked();
    // A tray came (after the program started) or went.
    void availabilityChanged(bool available);
};

} // namespace brindle
