#pragma once

#include <QCoreApplication>
#include <QHostAddress>
#include <QList>
#include <QString>
#include <optional>

namespace brindle {

// Turns a server name into its addresses without holding up the window: the
// system's resolver runs on Qt's look-up thread while this waits in a local
// event loop.
class HostLookup {
    Q_DECLARE_TR_FUNCTIONS(brindle::HostLookup)

public:
    // The addresses of host in the resolver's order, or nothing when the name is
    // unknown or no answer came within timeoutMs (see errorText()).
    std::optional<QList<QHostAddress>> lookUp(const QString& host, int timeoutMs);
    QString errorText() const { return errorText_; }

private:
    QString errorText_;
};

} // namespace brindle
