#pragma once

#include <QStringList>
#include <optional>

namespace brindle {

// Active dial-up connections of the desktop's network service.
class DialUpConnections {
public:
    virtual ~DialUpConnections() = default;
    // Handles of the active dial-up connections, first-listed first; nullopt
    // when they cannot be enumerated.
    virtual std::optional<QStringList> RasEnumConnections() = 0;
    // Ends one connection; failures are ignored by the caller.
    virtual void RasHangUp(const QString& handle) = 0;
};

} // namespace brindle
