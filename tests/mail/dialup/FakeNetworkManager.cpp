#include "FakeNetworkManager.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>

namespace brindle::test {

namespace {

const QString rootPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString activePrefix = rootPath + QStringLiteral("/ActiveConnection");
const QString settingsPrefix = rootPath + QStringLiteral("/Settings");
const QString managerInterface = QStringLiteral("org.freedesktop.NetworkManager");
const QString activeInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString settingsInterface =
    QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

bool isPropertyGet(const QDBusMessage& message, const QString& interface) {
    return message.interface() == propertiesInterface && message.member() == QLatin1String("Get") &&
           message.arguments().size() == 2 && message.arguments().at(0).toString() == interface;
}

QDBusMessage propertyReply(const QDBusMessage& message, const QVariant& value) {
    return message.createReply(QVariant::fromValue(QDBusVariant(value)));
}

QDBusMessage unknown(const QDBusMessage& message) {
    return message.createErrorReply(QDBusError::UnknownMethod,
                                    message.interface() + u'.' + message.member());
}

} // namespace

FakeNetworkManager::FakeNetworkManager(const QStringList& types, ListReply listReply,
                                       QString recordFile)
    : listReply_(listReply), recordFile_(std::move(recordFile)) {
    for (const QString& type : types) {
        const QStringList parts = type.split(u':');
        connections_.append({parts.at(0), parts.value(1), true});
    }
}

QString FakeNetworkManager::activePath(qsizetype number) {
    return activePrefix + u'/' + QString::number(number);
}

bool FakeNetworkManager::handleMessage(const QDBusMessage& message,
                                       const QDBusConnection& connection) {
    const QDBusMessage reply = replyTo(message);
    if (reply.type() != QDBusMessage::InvalidMessage) {
        connection.send(reply);
    }
    return true;
}

QString FakeNetworkManager::introspect(const QString&) const {
    return {};
}

QDBusMessage FakeNetworkManager::replyTo(const QDBusMessage& message) {
    if (message.path() == rootPath) {
        if (isPropertyGet(message, managerInterface)) {
            return activeConnectionsReply(message);
        }
        if (message.interface() == managerInterface &&
            message.member() == QLatin1String("DeactivateConnection")) {
            return deactivate(message);
        }
        return unknown(message);
    }
    qsizetype number = 0;
    if (const Connection* active = find(message.path(), activePrefix, &number)) {
        return activePropertyReply(message, *active, number);
    }
    if (const Connection* settings = find(message.path(), settingsPrefix, &number)) {
        return settingsReply(message, *settings);
    }
    return message.createErrorReply(QDBusError::UnknownObject, message.path());
}

QDBusMessage FakeNetworkManager::activeConnectionsReply(const QDBusMessage& message) const {
    if (message.arguments().at(1).toString() != QLatin1String("ActiveConnections")) {
        return message.createErrorReply(QDBusError::UnknownProperty, "ActiveConnections only");
    }
    QList<QDBusObjectPath> paths;
    QList<uint> numbers;
    for (qsizetype index = 0; index < connections_.size(); ++index) {
        if (connections_.at(index).active) {
            paths.append(QDBusObjectPath(activePath(connections_.size() - index)));
            numbers.append(uint(connections_.size() - index));
        }
    }
    switch (listReply_) {
    case ListReply::Paths:
        return propertyReply(message, QVariant::fromValue(paths));
    case ListReply::Numbers:
        return propertyReply(message, QVariant::fromValue(numbers));
    case ListReply::Silence:
        return {};
    case ListReply::Error:
        break;
    }
    return message.createErrorReply(QDBusError::AccessDenied, "not allowed");
}

QDBusMessage FakeNetworkManager::activePropertyReply(const QDBusMessage& message,
                                                     const Connection& connection,
                                                     qsizetype number) const {
    if (!isPropertyGet(message, activeInterface)) {
        return unknown(message);
    }
    const QString name = message.arguments().at(1).toString();
    if (name == QLatin1String("Type")) {
        return propertyReply(message, connection.type);
    }
    if (name == QLatin1String("Connection")) {
        const QDBusObjectPath settings(settingsPrefix + u'/' + QString::number(number));
        return propertyReply(message, QVariant::fromValue(settings));
    }
    return message.createErrorReply(QDBusError::UnknownProperty, name);
}

QDBusMessage FakeNetworkManager::settingsReply(const QDBusMessage& message,
                                               const Connection& connection) const {
    if (message.interface() != settingsInterface ||
        message.member() != QLatin1String("GetSettings")) {
        return unknown(message);
    }
    QMap<QString, QVariantMap> settings;
    settings[QStringLiteral("connection")] = {{QStringLiteral("type"), connection.type}};
    if (!connection.bluetoothProfile.isEmpty()) {
        settings[QStringLiteral("bluetooth")] = {
            {QStringLiteral("bdaddr"), QByteArray::fromHex("0a1b2c3d4e5f")},
            {QStringLiteral("type"), connection.bluetoothProfile}};
    }
    return message.createReply(QVariant::fromValue(settings));
}

QDBusMessage FakeNetworkManager::deactivate(const QDBusMessage& message) {
    const QString path = message.arguments().value(0).value<QDBusObjectPath>().path();
    QFile record(recordFile_);
    if (record.open(QIODevice::Append)) {
        record.write(path.toUtf8() + '\n');
    }
    qsizetype number = 0;
    Connection* active = find(path, activePrefix, &number);
    if (active == nullptr || !active->active) {
        return message.createErrorReply("org.freedesktop.NetworkManager.ConnectionNotActive", path);
    }
    active->active = false;
    return message.createReply();
}

FakeNetworkManager::Connection* FakeNetworkManager::find(const QString& path, const QString& prefix,
                                                         qsizetype* number) {
    if (!path.startsWith(prefix + u'/')) {
        return nullptr;
    }
    bool ok = false;
    *number = path.mid(prefix.size() + 1).toLongLong(&ok);
    const qsizetype index = connections_.size() - *number;
    if (!ok || index < 0 || index >= connections_.size() ||
        connections_.at(index).type == QLatin1String("vanished")) {
        return nullptr;
    }
    return &connections_[index];
}

} // namespace brindle::test
