#pragma once

#include <cstdint>

namespace brindle {

class EventPump;
class MonotonicClock;

// Returns once more than ms milliseconds have passed on the clock, letting
// window events run meanwhile and at least once. Between rounds it sleeps
// until the next event or the end of the wait.
void waitWhileEventsRun(std::int32_t ms, MonotonicClock& clock, EventPump& events);

} // namespace brindle
