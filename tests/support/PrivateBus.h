#pragma once

#include "support/TempFolder.h"

#include <QDBusConnection>
#include <QProcess>

namespace brindle::test {

// A D-Bus daemon of its own, listening on a socket in a temporary folder, and
// this process's connection to it; both end with the object.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const QString& address() const { return address_; }
    QDBusConnection connection() const;

private:
    TempFolder folder_;
    QProcess daemon_;
    QString address_;
    QString connectionName_;
};

} // namespace brindle::test
