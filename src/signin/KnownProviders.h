#pragma once

#include "signin/AuthorizationEndpoints.h"

#include <optional>

namespace brindle {

// The authorization servers of the large mail providers, chosen by the mail
// server's host name; nullopt for any other host.
std::optional<AuthorizationEndpoints> knownProvider(const QString& mailHost);

} // namespace brindle
