#include "ui/QtMessageBoxes.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

namespace brindle {

namespace {

// The window the box belongs to: the one the user works in, when it can be seen.
// The window manager keeps a box above its owner.
QWidget* visibleOwner() {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    if (owner == nullptr || !owner->isVisible() || owner->isMinimized()) {
        return nullptr;
    }
    return owner;
}

} // namespace

MessageBoxes::Answer QtMessageBoxes::show(const QString& text, const QString& caption, Icon icon,
                                          Buttons buttons) {
    QMessageBox box(visibleOwner());
    // The main window may stay in front of all others; a box that blocks it
    // must never open behind it, also when the main window sits in the tray.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowTitle(caption);
    box.setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(icon == Icon::Information   ? QMessageBox::Information
                : icon == Icon::Exclamation ? QMessageBox::Warning
                : icon == Icon::Question    ? QMessageBox::Question
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
