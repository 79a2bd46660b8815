#include "presentation/TrayCountIcon.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace brindle {

namespace {

// The sizes trays ask for, from a 16-pixel panel to a large one.
constexpr int iconSizes[] = {16, 22, 24, 32, 48, 64};

QPixmap drawAt(const QIcon& plain, const QString& text, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    plain.paint(&painter, 0, 0, size, size);
    // The badge's height is most of the icon's, so the digits stay legible at
    // 16 pixels; "99+" takes the whole icon.
    const int digitsHeight = (size * 5 + 4) / 8;
    const int height = text.size() > 2 ? size : digitsHeight;
    QFont font;
    font.setBold(true);
    font.setPixelSize(digitsHeight + 1);
    // Too wide: the letters closer together first, then smaller.
    while (font.pixelSize() > 6 && QFontMetrics(font).horizontalAdvance(text) > size - 1) {
        if (font.letterSpacing() == 0) {
            font.setLetterSpacing(QFont::AbsoluteSpacing, -1);
        } else {
            font.setPixelSize(font.pixelSize() - 1);
        }
    }
    const int textWidth = QFontMetrics(font).horizontalAdvance(text);
    const int width = std::min(size, std::max(height, textWidth + height / 3));
    const QRectF badge(size - width, size - height, width, height);
    QPainterPath shape;
    shape.addRoundedRect(badge, height / 3.0, height / 3.0);
    painter.fillPath(shape, QColor(208, 16, 32));
    painter.setPen(Qt::white);
    painter.setFont(font);
    painter.drawText(badge, Qt::AlignCenter, text);
    return pixmap;
}

} // namespace

QIcon TrayCountIcon::draw(const QIcon& plain, int count) {
    if (count <= 0) {
        return plain;
    }
    QIcon icon;
    for (const int size : iconSizes) {
        icon.addPixmap(drawAt(plain, countText(count), size));
    }
    return icon;
}

QString TrayCountIcon::countText(int count) {
    return count > 99 ? QStringLiteral("99+") : QString::number(count);
}

} // namespace brindle
