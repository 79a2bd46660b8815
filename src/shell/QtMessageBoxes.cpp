#include "shell/QtMessageBoxes.h"

#include <QIcon>
#include <QMessageBox>

namespace brindle {

MessageBoxes::Answer QtMessageBoxes::show(const QString& text, const QString& caption, Icon icon,
                                          Buttons buttons) {
    QMessageBox box;
    box.setWindowTitle(caption);
    box.setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(icon == Icon::Exclamation ? QMessageBox::Warning
                : icon == Icon::Question  ? QMessageBox::Question
                                          : QMessageBox::NoIcon);
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

} // namespace brindle
