#include "ui/CachedTextLabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace brindle {

void CachedTextLabel::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull() || pictureText_ != text() || picture_.size() != size() * ratio) {
        renderText();
    }
    QPainter(this).drawPixmap(0, 0, picture_);
}

void CachedTextLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::EnabledChange) {
        picture_ = QPixmap();
    }
    QLabel::changeEvent(event);
}

void CachedTextLabel::renderText() {
    const qreal ratio = devicePixelRatioF();
    picture_ = QPixmap(size() * ratio);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(Qt::transparent);
    QPainter painter(&picture_);
    painter.setFont(font());
    style()->drawItemText(&painter, rect(), static_cast<int>(alignment()), palette(), isEnabled(),
                          text(), foregroundRole());
    pictureText_ = text();
}

} // namespace brindle
