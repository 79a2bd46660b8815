#pragma once

namespace brindle {

// Whether an X display can be reached (DISPLAY set and the server answering).
bool xDisplayReachable();

} // namespace brindle
