#pragma once

#include "ui/MonotonicClock.h"

#include <chrono>

namespace brindle {

// The system's monotonic clock.
class SteadyClock : public MonotonicClock {
public:
    std::int64_t milliseconds() override {
        using namespace std::chrono;
        return duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch())
            .count();
    }
};

} // namespace brindle
