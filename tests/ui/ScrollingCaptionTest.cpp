#include "ui/ScrollingCaption.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// The bounding box of what the caption draws by itself, on a transparent band.
QRect drawnArea(ScrollingCaption& caption) {
    QImage image(caption.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    caption.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    QRect drawn;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                drawn |= QRect(x, y, 1, 1);
            }
        }
    }
    return drawn;
}

TEST(ScrollingCaptionTest, DrawsTheTextOnlyWhereItLiesAcrossTheBand) {
    QWidget strip;
    ScrollingCaption caption(QStringLiteral("未設定"), 161, &strip);
    caption.setGeometry(0, 0, 193, 17);
    for (int left : {184, 60, 0, -20}) {
        caption.setTextLeft(left);
        const QRect drawn = drawnArea(caption);
        EXPECT_FALSE(drawn.isEmpty()) << left;
        EXPECT_TRUE(caption.textRect().contains(drawn)) << left;
        EXPECT_LE(drawn.left() - std::max(left, 0), 2) << left;
    }
    caption.setTextLeft(-caption.textRect().width());
    EXPECT_TRUE(drawnArea(caption).isEmpty());
    caption.setTextLeft(193);
    EXPECT_TRUE(drawnArea(caption).isEmpty());
}

TEST(ScrollingCaptionTest, ANewCaptionIsMeasuredAndDrawnAndALongOneCutAtTheMaximum) {
    QWidget strip;
    ScrollingCaption caption(QStringLiteral("ab"), 100, &strip);
    caption.setGeometry(0, 0, 193, 17);
    caption.setTextLeft(10);
    const int shortWidth = caption.textRect().width();
    EXPECT_GT(shortWidth, 0);

    caption.setText(QString(80, u'M'));
    EXPECT_EQ(caption.textRect(), QRect(10, 0, 100, 17));
    const QRect drawn = drawnArea(caption);
    EXPECT_TRUE(caption.textRect().contains(drawn));
    EXPECT_GT(drawn.width(), shortWidth);

    QFont larger = caption.font();
    larger.setPointSize(larger.pointSize() * 3);
    caption.setText(QStringLiteral("ab"));
    caption.setFont(larger);
    EXPECT_GT(caption.textRect().width(), shortWidth);
}

} // namespace
} // namespace brindle::test
