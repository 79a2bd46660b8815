#include "ui/LetWindowPaint.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace brindle {

namespace {

class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& window) : window_(window) { window_.installEventFilter(this); }
    ~PaintWatch() override { window_.removeEventFilter(this); }

    bool painted() const { return painted_; }

    bool eventFilter(QObject*, QEvent* event) override {
        painted_ = painted_ || event->type() == QEvent::Paint;
        return false;
    }

private:
    QWidget& window_;
    bool painted_ = false;
};

} // namespace

void letWindowPaint(QWidget& window, std::chrono::milliseconds limit) {
    const QWindow* handle = window.windowHandle();
    if (!window.isVisible() || (handle != nullptr && handle->isExposed())) {
        return;
    }
    PaintWatch watch(window);
    const QDeadlineTimer deadline(limit);
    constexpr auto flags = QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                           QEventLoop::X11ExcludeTimers;
    for (;;) {
        QCoreApplication::processEvents(flags);
        if (watch.painted() || deadline.hasExpired()) {
            return;
        }
        // Without timers the dispatcher cannot be woken at the deadline: the
        // window manager's answer is looked for every millisecond instead.
        QThread::msleep(1);
    }
}

} // namespace brindle
