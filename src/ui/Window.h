#pragma once

#include <QWidget>

namespace brindle {

// A window of the program: prepare() runs when the window object is created,
// saveOnClose() when the user or the program closes it, after which the
// object is destroyed (see OnDemandWindow). A dialog with a parent
// belongs to it: the window manager keeps it above its parent.
class Window : public QWidget {
    Q_OBJECT
public:
    explicit Window(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);

    virtual void prepare() {}
    virtual void saveOnClose() {}

signals:
    // Emitted once the window has been closed; its owner then lets it go.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter on a focused button presses that button, as in any dialog; Enter
    // elsewhere and Escape are the window's own to answer.
    void keyPressEvent(QKeyEvent* event) override;
    virtual void enterPressed() {}
    virtual void escapePressed() {}
};

} // namespace brindle
