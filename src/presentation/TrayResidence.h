#pragma once

#include <QObject>
#include <QStringList>

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

    // Hides the window behind the tray icon, whose text tells when. On a
    // desktop without a tray the window stays where it is (minimised, it could
    // be lost where the desktop has no taskbar), and the user is told once.
    void moveToTray();
    void sayClicked();
    // While the count of messages is above zero, the icon carries it and its
    // text says it; at 0 the plain icon returns.
    void showMailCount(int count);
    // One short line per mailbox under the time in the icon's text; none
    // while only one mailbox is watched.
    void setMailboxLines(const QStringList& lines);

    // The date and time in numbers as the windows' locale writes them, with seconds.
    static QString generalDateTime(const QDateTime& moment);

    QMenu* menu = nullptr;
    QAction* showWindowAction = nullptr;
    QAction* quitAction = nullptr;

private:
    void tellNoTray();
    // The count on the icon; the time it went to the tray, the count and
    // the mailboxes' lines in its text.
    void showOnIcon();
    // A window hidden in a tray that goes comes back.
    void trayAvailabilityChanged(bool available);

    QWidget& window_;
    TrayIcon& tray_;
    MessageBoxes& messageBoxes_;
    bool toldNoTray_ = false;
    QString movedAt_; // when the window last went to the tray
    QStringList mailboxLines_;
    int count_ = 0;
};

} // namespace brindle
