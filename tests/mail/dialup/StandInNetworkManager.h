#pragma once

#include "support/TempFolder.h"

#include <QProcess>
#include <QStringList>

namespace brindle::test {

// The stand-in NetworkManager service running on a bus, with the record of
// the connections it was asked to deactivate; it stops with the object.
class StandInNetworkManager {
public:
    StandInNetworkManager() = default;
    ~StandInNetworkManager();
    StandInNetworkManager(const StandInNetworkManager&) = delete;
    StandInNetworkManager& operator=(const StandInNetworkManager&) = delete;

    // Starts it with these active connection types, in listing order; false
    // when it did not come up.
    bool start(const QString& busAddress, const QStringList& types,
               const QString& listReply = QStringLiteral("paths"));
    void stop();
    // Paths it was asked to deactivate, in order.
    QStringList deactivated() const;

private:
    TempFolder records_;
    QProcess service_;
};

} // namespace brindle::test
