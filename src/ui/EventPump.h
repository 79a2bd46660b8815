#pragma once

#include <cstdint>

namespace brindle {

// The window system's event queue, as the wait routine uses it.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Runs every pending window event (timer ticks, clicks, repaints).
    virtual void processPendingEvents() = 0;
    // Sleeps until an event arrives or at most maxMilliseconds have passed.
    virtual void waitForEvents(std::uint32_t maxMilliseconds) = 0;
};

} // namespace brindle
