#include "ui/QtMessageBoxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QMessageBox>
#include <QSpacerItem>

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

// A box as wide as its caption in the title bar needs, beside the window
// manager's icon and buttons: a short text ("Clicked!") makes a box narrower
// than its title.
void makeRoomForCaption(QMessageBox& box, const QString& caption) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    // Room for the window manager's icon and three buttons, each about two lines high.
    const int width = metrics.horizontalAdvance(caption) + 8 * metrics.height();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
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
    box.setStandardButtons(buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                     : QMessageBox::Ok);
    makeRoomForCaption(box, caption);
    const int answer = box.exec();
    if (buttons == Buttons::YesNo) {
        return answer == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    return Answer::Ok;
}

} // namespace brindle
