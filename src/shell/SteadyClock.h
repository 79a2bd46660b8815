#pragma once

#include "shell/MillisecondClock.h"

#include <chrono>

namespace brindle {

// The system's monotonic clock in milliseconds, on a wrapping 32-bit counter.
class SteadyClock : public MillisecondClock {
public:
    std::uint32_t timeGetTime() override {
        using namespace std::chrono;
        return static_cast<std::uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
};

} // namespace brindle
