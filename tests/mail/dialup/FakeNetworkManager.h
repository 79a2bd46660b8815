#pragma once

#include <QDBusVirtualObject>
#include <QList>
#include <QString>

namespace brindle::test {

// Stand-in for NetworkManager's D-Bus objects: the manager with its active
// connections, each active connection and its settings. Connections are numbered
// from the last listed up, so the listing order differs from the order of paths.
// Every DeactivateConnection call is appended to a record file, one path a line.
class FakeNetworkManager : public QDBusVirtualObject {
public:
    enum class ListReply {
        Paths,   // an array of object paths, as the real service sends
        Error,   // an access-denied error
        Numbers, // an array of the connection numbers: the wrong type
        Silence, // no answer at all, as from a stuck service
    };

    // A connection type such as "gsm", or "bluetooth:dun" / "bluetooth:panu" for
    // the Bluetooth profiles; "vanished" is listed but has no object.
    FakeNetworkManager(const QStringList& types, ListReply listReply, QString recordFile);

    static QString activePath(qsizetype number);

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
    QString introspect(const QString& path) const override;

private:
    struct Connection {
        QString type;
        QString bluetoothProfile;
        bool active = true;
    };

    QDBusMessage replyTo(const QDBusMessage& message);
    QDBusMessage activeConnectionsReply(const QDBusMessage& message) const;
    QDBusMessage activePropertyReply(const QDBusMessage& message, const Connection& connection,
                                     qsizetype number) const;
    QDBusMessage settingsReply(const QDBusMessage& message, const Connection& connection) const;
    QDBusMessage deactivate(const QDBusMessage& message);
    // The connection with this path under the prefix, or nullptr.
    Connection* find(const QString& path, const QString& prefix, qsizetype* number);

    QList<Connection> connections_;
    ListReply listReply_;
    QString recordFile_;
};

} // namespace brindle::test
