#pragma once

#include "signin/AuthorizationEndpoints.h"

namespace brindle {

// The client IDs a distribution or maintainer registered at the built-in
// providers and built into the program (CMake cache options); empty where
// none was, and the user is asked for their own.
struct PackagedClients {
    OAuthClient google;
    OAuthClient microsoft;
};

PackagedClients builtInPackagedClients();

} // namespace brindle
