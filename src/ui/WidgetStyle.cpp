#include "ui/WidgetStyle.h"

#include "ui/Twips.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <limits>

namespace brindle {

void setBackground(QWidget* widget, const QBrush& brush) {
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::Window, brush);
    palette.setBrush(QPalette::Button, brush);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const QString& caption, QRect place, const QColor& text) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(place);
    setTextColour(label, text);
    return label;
}

QPushButton* makeButton(QWidget* parent, const QString& caption, QRect place,
                        const QColor& background) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(place);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black; "
                                         "border: 2px outset #a0a0a0; }"
                                         "QPushButton:pressed { border-style: inset; }")
                              .arg(background.name()));
    return button;
}

QLineEdit* makeField(QWidget* parent, QRect place) {
    auto* field = new QLineEdit(parent);
    field->setGeometry(place);
    field->setMaxLength(std::numeric_limits<int>::max());
    static const QRegularExpression oneLine(QStringLiteral("[^\\r\\n]*"));
    field->setValidator(new QRegularExpressionValidator(oneLine, field));
    return field;
}

void setFixedWindow(QWidget* window, const QString& caption, int widthTwips, int heightTwips,
                    bool minimiseButton) {
    Qt::WindowFlags flags = window->windowType() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    flags.setFlag(Qt::WindowMinimizeButtonHint, minimiseButton);
    window->setWindowFlags(flags);
    window->setWindowTitle(caption);
    window->setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    window->setFixedSize(twips(widthTwips), twips(heightTwips));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        window->move(screen->availableGeometry().center() - window->rect().center());
    }
}

} // namespace brindle
