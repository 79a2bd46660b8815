#pragma once

#include "signin/AuthorizationEndpoints.h"

#include <optional>

namespace brindle {

// Asks the user for the client ID (and secret) they registered at a provider.
class ClientIdPrompt {
public:
    virtual ~ClientIdPrompt() = default;
    // Nullopt when the user stops; shows the client entered last time.
    virtual std::optional<OAuthClient> ask(const QString& providerName,
                                           const OAuthClient& previous) = 0;
};

} // namespace brindle
