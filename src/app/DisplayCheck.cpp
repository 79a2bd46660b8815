#include "app/DisplayCheck.h"

#include <xcb/xcb.h>

namespace brindle {

bool xDisplayReachable() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool reachable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reachable;
}

} // namespace brindle
