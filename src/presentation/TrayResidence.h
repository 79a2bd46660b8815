#pragma once

#include <QObject>

class QAction;
class QDateTime;
class QMenu;
class QWidget;

namespace brindle {

class MessageBoxes;
class TrayIcon;

// The main window's stay in the system tray: the icon that stands for it and
// the icon's menu.
class TrayResidence : public QObject {
    Q_OBJECT
public:
    TrayResidence(QWidget& window, TrayIcon& tray, MessageBoxes& messageBoxes);

    // Hides the window behind the tray icon, whose text tells when; without a
    // tray it is minimised instead, so the user can always get it back.
    void moveToTray();
    void sayClicked();

    // The date and time in numbers as the windows' locale writes them, with seconds.
    static QString generalDateTime(const QDateTime& moment);

    QMenu* menu = nullptr;
    QAction* showWindowAction = nullptr;
    QAction* quitAction = nullptr;

private:
    QWidget& window_;
    TrayIcon& tray_;
    MessageBoxes& messageBoxes_;
};

} // namespace brindle
