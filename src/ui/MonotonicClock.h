#pragma once

#include <cstdint>

namespace brindle {

// Milliseconds since an arbitrary start; never goes back.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    virtual std::int64_t milliseconds() = 0;
};

} // namespace brindle
