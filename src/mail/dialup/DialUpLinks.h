#pragma once

#include <QStringList>
#include <optional>

namespace brindle {

// The desktop's active dial-up links.
class DialUpLinks {
public:
    virtual ~DialUpLinks() = default;
    // Ids of the active dial-up links, first-listed first; nullopt when they
    // cannot be listed.
    virtual std::optional<QStringList> active() = 0;
    // Ends one link; failures are ignored by the caller.
    virtual void hangUp(const QString& id) = 0;
};

} // namespace brindle
