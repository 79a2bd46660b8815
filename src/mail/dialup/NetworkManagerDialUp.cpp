#include "mail/dialup/NetworkManagerDialUp.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace brindle {

namespace {

const QString service = QStringLiteral("org.freedesktop.NetworkManager");
const QString managerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString managerInterface = QStringLiteral("org.freedesktop.NetworkManager");
const QString activeInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString settingsInterface =
    QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

constexpr int callTimeoutMs = 3000;

// Connection types that always dial out: mobile broadband, PPPoE and ADSL.
const QStringList dialUpTypes{QStringLiteral("gsm"), QStringLiteral("cdma"),
                              QStringLiteral("pppoe"), QStringLiteral("adsl")};

// The value when it holds exactly a T; a service may send anything.
template <typename T> std::optional<T> valueAs(const QVariant& value) {
    if (value.metaType() != QMetaType::fromType<T>()) {
        return std::nullopt;
    }
    return value.value<T>();
}

// Containers arrive still marshalled; read them only when the signature is
// the expected one, as reading a different one gives garbage.
template <typename T>
std::optional<T> demarshal(const QVariant& value, const char* expectedSignature) {
    const auto argument = valueAs<QDBusArgument>(value);
    if (!argument || argument->currentSignature() != QLatin1String(expectedSignature)) {
        return std::nullopt;
    }
    return qdbus_cast<T>(*argument);
}

using ConnectionSettings = QMap<QString, QVariantMap>;

} // namespace

NetworkManagerDialUp::NetworkManagerDialUp(QDBusConnection bus) : bus_(std::move(bus)) {}

std::optional<QStringList> NetworkManagerDialUp::active() {
    const auto listed =
        property(managerPath, managerInterface, QStringLiteral("ActiveConnections"));
    if (!listed) {
        return std::nullopt;
    }
    const auto activePaths = demarshal<QList<QDBusObjectPath>>(*listed, "ao");
    if (!activePaths) {
        return std::nullopt;
    }
    QStringList ids;
    for (const QDBusObjectPath& link : *activePaths) {
        if (isDialUp(link.path())) {
            ids.append(link.path());
        }
    }
    return ids;
}

void NetworkManagerDialUp::hangUp(const QString& id) {
    // QtDBus refuses to send an id that is no object path.
    call(managerPath, managerInterface, QStringLiteral("DeactivateConnection"),
         {QVariant::fromValue(QDBusObjectPath(id))});
}

std::optional<QVariantList> NetworkManagerDialUp::call(const QString& path,
                                                       const QString& interface,
                                                       const QString& method,
                                                       const QVariantList& arguments) {
    if (!bus_.isConnected()) {
        return std::nullopt;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus_.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        return std::nullopt;
    }
    return reply.arguments();
}

std::optional<QVariant>
NetworkManagerDialUp::property(const QString& path, const QString& interface, const QString& name) {
    const auto reply = call(path, propertiesInterface, QStringLiteral("Get"), {interface, name});
    if (!reply || reply->size() != 1) {
        return std::nullopt;
    }
    const auto value = valueAs<QDBusVariant>(reply->first());
    if (!value) {
        return std::nullopt;
    }
    return value->variant();
}

bool NetworkManagerDialUp::isDialUp(const QString& activePath) {
    const auto typeValue = property(activePath, activeInterface, QStringLiteral("Type"));
    const auto type = typeValue ? valueAs<QString>(*typeValue) : std::nullopt;
    if (!type) {
        return false;
    }
    if (dialUpTypes.contains(*type)) {
        return true;
    }
    return *type == QLatin1String("bluetooth") && isBluetoothDialUp(activePath);
}

// A Bluetooth connection dials out when its settings name the dial-up
// networking profile ("dun"); the personal area network one ("panu") does not.
bool NetworkManagerDialUp::isBluetoothDialUp(const QString& activePath) {
    const auto connectionValue =
        property(activePath, activeInterface, QStringLiteral("Connection"));
    const auto connection =
        connectionValue ? valueAs<QDBusObjectPath>(*connectionValue) : std::nullopt;
    if (!connection) {
        return false;
    }
    const auto reply =
        call(connection->path(), settingsInterface, QStringLiteral("GetSettings"), {});
    if (!reply || reply->size() != 1) {
        return false;
    }
    const auto settings = demarshal<ConnectionSettings>(reply->first(), "a{sa{sv}}");
    if (!settings) {
        return false;
    }
    const QVariant profile =
        settings->value(QStringLiteral("bluetooth")).value(QStringLiteral("type"));
    return valueAs<QString>(profile) == QStringLiteral("dun");
}

} // namespace brindle
