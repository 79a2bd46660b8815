#include "ui/TimeMarks.h"

#include <QEvent>
#include <QWidget>
#include <chrono>

namespace brindle {

namespace {

// Lives on the widget until its next paint, marks it and goes.
class NextPaintMark : public QObject {
public:
    NextPaintMark(QWidget& widget, const TimeMarks& marks, const char* name)
        : QObject(&widget), marks_(marks), name_(name) {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            marks_.mark(name_);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    TimeMarks marks_;
    const char* name_;
};

} // namespace

TimeMarks TimeMarks::fromEnvironment() {
    return TimeMarks(qEnvironmentVariableIntValue("BRINDLE_TRACE_TIMES") == 1 ? stderr : nullptr);
}

void TimeMarks::mark(const char* name) const {
    if (out_ == nullptr) {
        return;
    }
    using namespace std::chrono;
    const auto now = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    std::fprintf(out_, "brindle-time %s %lld.%06lld\n", name, static_cast<long long>(now / 1000000),
                 static_cast<long long>(now % 1000000));
    std::fflush(out_);
}

void TimeMarks::markNextPaint(QWidget& widget, const char* name) const {
    if (out_ != nullptr) {
        new NextPaintMark(widget, *this, name);
    }
}

} // namespace brindle
