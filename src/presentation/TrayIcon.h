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

signals:
    // 0: the icon was clicked; 1: the user asked for its menu.
    void IconEvent(int code);
};

} // namespace brindle
