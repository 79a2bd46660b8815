#pragma once

#include "ui/Window.h"

class QLineEdit;

namespace brindle {

class WindowStacking;

// The new-mail notice board: one line with the message and the count, in
// front of all windows.
class NoticeBoard : public Window {
    Q_OBJECT
public:
    explicit NoticeBoard(WindowStacking& stacking);

    void prepare() override;
    void showNotice(const QString& text, int count);

    QLineEdit* noticeText = nullptr;
    QLineEdit* countText = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    WindowStacking& stacking_;
};

} // namespace brindle
