#pragma once

#include "signin/AuthorizationServer.h"

#include <optional>

namespace brindle {

// The authorization servers of the large mail providers, chosen by the mail
// server's host name; nullopt for any other host.
std::optional<AuthorizationServer> knownProvider(const QString& mailHost);

} // namespace brindle
