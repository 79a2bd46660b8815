#pragma once

#include <cstdint>

namespace brindle {

// Milliseconds since an arbitrary start, on a 32-bit counter that wraps.
class MillisecondClock {
public:
    virtual ~MillisecondClock() = default;
    virtual std::uint32_t timeGetTime() = 0;
};

} // namespace brindle
