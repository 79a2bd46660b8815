#pragma once

#include <QBrush>
#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace brindle {

// Small builders for the fixed, hand-placed layouts of the program's windows.
// A colour or a picture from the top left corner.
void setBackground(QWidget* widget, const QBrush& brush);
void setTextColour(QWidget* widget, const QColor& colour);
QLabel* makeLabel(QWidget* parent, const QString& caption, QRect place, const QColor& text);
// A button that shows its background colour.
QPushButton* makeButton(QWidget* parent, const QString& caption, QRect place,
                        const QColor& background);
// A one-line field without length limit that never takes a line break.
QLineEdit* makeField(QWidget* parent, QRect place);
// The fixed client area and the title-bar buttons of a secondary window; the
// window keeps its type (window or dialog).
void setFixedWindow(QWidget* window, const QString& caption, int widthTwips, int heightTwips,
                    bool minimiseButton);

} // namespace brindle
