#include "shell/WaitMilliseconds.h"

#include "shell/EventPump.h"
#include "shell/MillisecondClock.h"

namespace brindle {

void WaitMilliseconds(std::int32_t ms, MillisecondClock& clock, EventPump& events) {
    const std::uint32_t start = clock.timeGetTime();
    for (;;) {
        events.processPendingEvents();
        // Unsigned subtraction keeps the elapsed time right across the counter's wrap.
        const std::int64_t elapsed = static_cast<std::uint32_t>(clock.timeGetTime() - start);
        if (elapsed > ms) {
            return;
        }
        events.waitForEvents(static_cast<std::uint32_t>(ms - elapsed + 1));
    }
}

} // namespace brindle
