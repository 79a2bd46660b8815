#include "ui/Window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>

namespace brindle {

Window::Window(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}

void Window::closeEvent(QCloseEvent* event) {
    saveOnClose();
    event->accept();
    emit closed();
}

void Window::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto* button = qobject_cast<QAbstractButton*>(focusWidget());
            button && !button->isCheckable()) {
            button->click();
        } else {
            enterPressed();
        }
        break;
    case Qt::Key_Escape:
        escapePressed();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace brindle
