#include "shell/Form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QKeyEvent>

namespace brindle {

Form::Form(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}

void Form::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    emit unloaded();
}

void Form::keyPressEvent(QKeyEvent* event) {
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
