#pragma once

#include <cstdint>

namespace brindle {

class EventPump;
class MillisecondClock;

// Returns once more than ms milliseconds have passed on the clock (wrap-safe),
// letting window events run meanwhile and at least once. Between rounds it
// sleeps until the next event or the end of the wait.
void WaitMilliseconds(std::int32_t ms, MillisecondClock& clock, EventPump& events);

} // namespace brindle
