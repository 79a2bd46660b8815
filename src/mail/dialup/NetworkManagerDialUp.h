#pragma once

#include "mail/dialup/DialUpLinks.h"

#include <QDBusConnection>
#include <QVariant>

namespace brindle {

// Dial-up connections as NetworkManager reports them on D-Bus: mobile broadband,
// PPPoE, ADSL and Bluetooth dial-up networking. The ids are the object paths
// of the active connections. Every call blocks for a few seconds at most, so a
// stuck service cannot hold up the window for long.
class NetworkManagerDialUp : public DialUpLinks {
public:
    explicit NetworkManagerDialUp(QDBusConnection bus);

    // An active connection whose properties cannot be read is left out; a list
    // that cannot be read gives nullopt.
    std::optional<QStringList> active() override;
    void hangUp(const QString& id) override;

private:
    std::optional<QVariantList> call(const QString& path, const QString& interface,
                                     const QString& method, const QVariantList& arguments);
    std::optional<QVariant> property(const QString& path, const QString& interface,
                                     const QString& name);
    bool isDialUp(const QString& activePath);
    bool isBluetoothDialUp(const QString& activePath);

    QDBusConnection bus_;
};

} // namespace brindle
