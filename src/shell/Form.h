#pragma once

#include <QWidget>

namespace brindle {

// A window of the program: its load handler runs when the window object is
// created, its unload handler when the user or the program closes it, after
// which the object is destroyed (see FormInstance). A dialog with a parent
// belongs to it: the window manager keeps it above its parent.
class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

signals:
    // Emitted once the window has been closed; its owner then lets it go.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter on a focused button presses that button, as in any dialog; Enter
    // elsewhere and Escape are the window's own to answer.
    void keyPressEvent(QKeyEvent* event) override;
    virtual void enterPressed() {}
    virtual void escapePressed() {}
};

} // namespace brindle
