#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace brindle {

// One line of text sliding sideways across a fixed band. A move moves no
// widget: only where the text was and where it is now are drawn again, from a
// picture of the text made once per caption. The band lets clicks through to
// what lies below it.
class ScrollingCaption : public QWidget {
    Q_OBJECT
public:
    // The text is cut at maxTextWidth pixels.
    ScrollingCaption(const QString& text, int maxTextWidth, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);
    // The text's left edge in the band, in pixels; it may lie outside the band.
    int textLeft() const { return textLeft_; }
    void setTextLeft(int left);
    // Where the text lies: as wide as the text up to the maximum, as high as the band.
    QRect textRect() const { return {textLeft_, 0, textWidth_, height()}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void measureText();
    void renderText();

    QString text_;
    int maxTextWidth_;
    int textLeft_ = 0;
    int textWidth_ = 0;
    QPixmap picture_;
};

} // namespace brindle
