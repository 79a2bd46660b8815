#pragma once

#include <QLabel>
#include <QPixmap>

namespace brindle {

// A one-line label that draws its text from a picture made once per caption:
// the scrolling name moves fifty times a second, and laying the text out
// again on every move is most of what a move costs.
class CachedTextLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void renderText();

    QPixmap picture_;
    QString pictureText_;
};

} // namespace brindle
