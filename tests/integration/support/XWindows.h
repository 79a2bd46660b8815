#pragma once

#include <QImage>
#include <QPoint>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <chrono>

namespace brindle::test {

// Finds, inspects and drives the windows of one X display through the
// standard X tools (xdotool, wmctrl, xwininfo, xprop); pictures come straight from the server.
class XWindows {
public:
    using Id = quint32;
    enum class Framing { ClientOnly, WithFrame };

    explicit XWindows(QProcessEnvironment environment);

    // Viewable windows whose title is exactly this text.
    QList<Id> find(const QString& title) const;
    // The first such window, or 0 when none appears within the limit.
    Id waitFor(const QString& title,
               std::chrono::milliseconds limit = std::chrono::seconds(30)) const;
    // Position on the screen and size of the window's own area; empty when unknown.
    QRect geometry(Id window) const;
    bool viewable(Id window) const;
    QImage capture(Id window, Framing framing = Framing::ClientOnly) const;
    // A capture taken once the window's picture is drawn and has stopped changing; null after 30 s.
    QImage settledCapture(Id window, Framing framing = Framing::ClientOnly) const;
    // xprop's line for one property of the window.
    QString property(Id window, const QString& name) const;
    // The managed windows from bottom to top, as the window manager stacks them.
    QList<Id> stackingOrder() const;
    // The middle of the first icon that the system tray holds; null when there is none.
    QPoint trayIconCentre() const;

    void activate(Id window) const;
    // The window the window manager has given the keyboard to; 0 when none.
    Id activeWindow() const;
    // Moves the window's frame so its top-left corner lies at this point of the screen.
    void moveTo(Id window, int x, int y) const;
    void pressKeys(const QStringList& keys) const;
    // Types the text into the window that has the keyboard.
    void typeText(const QString& text) const;
    // Clicks with a mouse button (1 left, 3 right) at a point of the screen.
    void click(QPoint point, int button) const;
    // Opens the window's first menu from the keyboard and chooses the item at
    // this index (separators not counted). False when the menu did not appear.
    bool chooseMenuItem(Id window, int index) const;
    // Opens the tray icon's menu with a right click and chooses the item at this index.
    bool chooseTrayMenuItem(QPoint icon, int index) const;
    // Asks the window manager to close the window.
    void close(Id window) const;

private:
    QString run(const QString& tool, const QStringList& arguments) const;
    QList<Id> search(const QStringList& criteria) const;
    // A window of the program that was not among those before; 0 when none appears in time.
    Id newProgramWindow(const QList<Id>& before, std::chrono::milliseconds limit) const;
    // Moves down the open menu so many items (separators not counted) and chooses that one.
    bool chooseInMenu(Id menu, int downs) const;

    QProcessEnvironment environment_;
};

} // namespace brindle::test
