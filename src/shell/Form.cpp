#include "shell/Form.h"

#include <QCloseEvent>

namespace brindle {

Form::Form(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {}

void Form::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    emit unloaded();
}

} // namespace brindle
