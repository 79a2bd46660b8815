#pragma once

#include "ui/EventPump.h"

namespace brindle {

// The application's event queue: runs pending events, and sleeps in the event
// dispatcher (never polling) until an event or a wake-up timer arrives.
class QtEventPump : public EventPump {
public:
    void processPendingEvents() override;
    void waitForEvents(std::uint32_t maxMilliseconds) override;
};

} // namespace brindle
