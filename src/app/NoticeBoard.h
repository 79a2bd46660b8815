#pragma once

#include "ui/Window.h"

class QLineEdit;

namespace brindle {

class WindowStacking;

// The new-mail notice board: one line with the message and the count, in
// front of all windows. Screen readers know it as an alert, which they read
// without the keyboard focus.
class NoticeBoard : public Window {
    Q_OBJECT
public:
    explicit NoticeBoard(WindowStacking& stacking);

    void prepare() override;
    void showNotice(const QString& text, int count);
    // Shows the board in front and announces it. It takes the keyboard only
    // from the program's own windows, never from another program the user
    // is typing in.
    void appear();

    QLineEdit* noticeText = nullptr;
    QLineEdit* countText = nullptr;

protected:
    // A window manager that keeps a framed window at least as high as its
    // title bar (KWin) gives the board more than its line: the line fills it.
    void resizeEvent(QResizeEvent* event) override;

private:
    WindowStacking& stacking_;
};

} // namespace brindle
