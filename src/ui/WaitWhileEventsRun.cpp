#include "ui/WaitWhileEventsRun.h"

#include "ui/EventPump.h"
#include "ui/MonotonicClock.h"

namespace brindle {

void waitWhileEventsRun(std::int32_t ms, MonotonicClock& clock, EventPump& events) {
    const std::int64_t start = clock.milliseconds();
    for (;;) {
        events.processPendingEvents();
        const std::int64_t elapsed = clock.milliseconds() - start;
        if (elapsed > ms) {
            return;
        }
        events.waitForEvents(static_cast<std::uint32_t>(ms - elapsed + 1));
    }
}

} // namespace brindle
