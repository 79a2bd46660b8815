#include "mail/QtFileChooser.h"

#include <QFileDialog>

namespace brindle {

QString QtFileChooser::chooseFile(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent);
}

} // namespace brindle
