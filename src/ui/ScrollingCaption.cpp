#include "ui/ScrollingCaption.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace brindle {

ScrollingCaption::ScrollingCaption(const QString& text, int maxTextWidth, QWidget* parent)
    : QWidget(parent), text_(text), maxTextWidth_(maxTextWidth) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(text);
    measureText();
}

void ScrollingCaption::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    const QRect before = textRect();
    text_ = text;
    setAccessibleName(text);
    measureText();
    update(before.united(textRect()));
}

void ScrollingCaption::setTextLeft(int left) {
    if (left == textLeft_) {
        return;
    }
    const QRect before = textRect();
    textLeft_ = left;
    // Drawn at once rather than on a posted request: the name moves fifty times
    // a second, and a request costs the event loop a round of its own.
    repaint(before.united(textRect()));
}

void ScrollingCaption::paintEvent(QPaintEvent*) {
    if (textWidth_ <= 0 || height() <= 0) {
        return;
    }
    if (picture_.isNull()) {
        renderText();
    }
    QPainter(this).drawPixmap(textLeft_, 0, picture_);
}

void ScrollingCaption::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        measureText();
        update();
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::EnabledChange) {
        picture_ = QPixmap();
        update();
    }
    QWidget::changeEvent(event);
}

void ScrollingCaption::resizeEvent(QResizeEvent* event) {
    picture_ = QPixmap();
    QWidget::resizeEvent(event);
}

void ScrollingCaption::measureText() {
    textWidth_ = std::min(fontMetrics().size(Qt::TextSingleLine, text_).width(), maxTextWidth_);
    picture_ = QPixmap();
}

void ScrollingCaption::renderText() {
    const qreal ratio = devicePixelRatioF();
    const QRect place(0, 0, textWidth_, height());
    picture_ = QPixmap(place.size() * ratio);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(Qt::transparent);
    QPainter painter(&picture_);
    painter.setFont(font());
    style()->drawItemText(&painter, place, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                          text_, foregroundRole());
}

} // namespace brindle
