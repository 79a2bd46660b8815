#pragma once

#include <chrono>

class QWidget;

namespace brindle {

// Lets a window that has just been shown appear at once: runs the window
// system's events (its mapping, exposure and paint) until it has painted, for
// at most limit. Timer ticks, input and sockets wait, so no handler of the
// program runs meanwhile. A window already on screen or hidden returns at once.
void letWindowPaint(QWidget& window, std::chrono::milliseconds limit);

} // namespace brindle
