#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

namespace brindle {

// The icon that stands for the program in the desktop's system tray.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool isAvailable() const = 0;
    virtual void setIcon(const QIcon& icon) = 0;
    virtual void setText(const QString& text) = 0;
    virtual void show() = 0;

    enum class Activation {
        Click,       // the icon was clicked
        MenuRequest, // the user asked for the icon's menu
    };

signals:
    void activated(TrayIcon::Activation reason);
};

} // namespace brindle
