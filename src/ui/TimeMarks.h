#pragma once

#include <cstdio>

class QWidget;

namespace brindle {

// Moments of the program written out for the benchmarks, one line each:
// "brindle-time <name> <seconds>" on the system's monotonic clock, so that a
// benchmark can set them beside its own clock. Silent unless given a stream.
class TimeMarks {
public:
    // Writes to stderr when the environment variable BRINDLE_TRACE_TIMES is 1.
    static TimeMarks fromEnvironment();

    explicit TimeMarks(std::FILE* out = nullptr) : out_(out) {}

    bool enabled() const { return out_ != nullptr; }
    void mark(const char* name) const;
    // Marks name once the widget next paints: the moment it can be seen.
    void markNextPaint(QWidget& widget, const char* name) const;

private:
    std::FILE* out_;
};

} // namespace brindle
