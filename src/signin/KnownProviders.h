#pragma once

#include "signin/AuthorizationEndpoints.h"
#include "signin/PackagedClients.h"

#include <optional>

namespace brindle {

// The authorization servers of the large mail providers, chosen by the mail
// server's host name, with the client built in for them; nullopt for any
// other host.
std::optional<AuthorizationEndpoints>
knownProvider(const QString& mailHost, const PackagedClients& packaged = builtInPackagedClients());

// Whether a host belongs to one of those providers. They are signed in to only
// through the built-in table, never where another server's document points.
bool isKnownProviderHost(const QString& host);

} // namespace brindle
