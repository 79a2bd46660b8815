#include "ui/LetWindowPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

using namespace std::chrono_literals;

// A window that counts its paints.
class PaintCountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    bool event(QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return QWidget::event(event);
    }
};

TEST(LetWindowPaint, AShownWindowHasPaintedOnReturnWhileTimerTicksWaited) {
    PaintCountingWidget window;
    window.resize(60, 20);
    bool ticked = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] { ticked = true; });
    timer.start(1);
    QThread::msleep(5); // the tick is due before the window shows
    window.show();

    letWindowPaint(window, 5s);

    EXPECT_GE(window.paints, 1);
    EXPECT_FALSE(ticked);
    QCoreApplication::processEvents();
    EXPECT_TRUE(ticked);
}

TEST(LetWindowPaint, AHiddenWindowOrOneAlreadyOnScreenReturnsWithoutPainting) {
    PaintCountingWidget window;
    window.resize(60, 20);
    letWindowPaint(window, 5s);
    EXPECT_EQ(window.paints, 0);

    window.show();
    letWindowPaint(window, 5s);
    const int paints = window.paints;
    window.update();
    letWindowPaint(window, 5s);
    EXPECT_EQ(window.paints, paints);
}

} // namespace
} // namespace brindle::test
