#include "presentation/FreedesktopNotifications.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusReply>

namespace brindle {

namespace {

const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
constexpr int CallTimeoutMs = 3000;
// The server's own time: the notice stays as long as it keeps notices.
constexpr int ServerTimeout = -1;
const QString DefaultAction = QStringLiteral("default");

// The "image-data" hint: width, height, row stride, alpha, bits per sample,
// channels and the RGBA bytes.
QDBusArgument imageData(const QImage& icon) {
    const QImage image = icon.convertToFormat(QImage::Format_RGBA8888);
    QDBusArgument argument;
    argument.beginStructure();
    argument << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(image.constBits()),
                           qsizetype(image.sizeInBytes()));
    argument.endStructure();
    return argument;
}

} // namespace

FreedesktopNotifications::FreedesktopNotifications(QDBusConnection bus, QString desktopEntry,
                                                   QImage icon)
    : bus_(std::move(bus)), desktopEntry_(std::move(desktopEntry)), icon_(std::move(icon)) {
    bus_.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this,
                 SLOT(actionInvoked(uint, QString)));
    bus_.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                 SLOT(notificationClosed(uint, uint)));
}

uint FreedesktopNotifications::show(uint replacing, const QString& summary,
                                    const QStringList& lines) {
    const QDBusReply<QStringList> capabilities = bus_.call(
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("GetCapabilities")),
        QDBus::Block, CallTimeoutMs);
    if (!capabilities.isValid()) {
        return 0; // no notification server
    }
    const bool markup = capabilities.value().contains(QStringLiteral("body-markup"));
    QStringList body;
    for (const QString& line : lines) {
        body.append(markup ? line.toHtmlEscaped() : line);
    }
    const QStringList actions = capabilities.value().contains(QStringLiteral("actions"))
                                    ? QStringList{DefaultAction, summary}
                                    : QStringList();
    QVariantMap hints{{QStringLiteral("category"), QStringLiteral("email.arrived")},
                      {QStringLiteral("desktop-entry"), desktopEntry_}};
    if (!icon_.isNull()) {
        hints.insert(QStringLiteral("image-data"), QVariant::fromValue(imageData(icon_)));
    }
    QDBusMessage notify =
        QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    notify << QStringLiteral("Brindle") << replacing << QString() << summary << body.join(u'\n')
           << actions << hints << ServerTimeout;
    const QDBusReply<uint> id = bus_.call(notify, QDBus::Block, CallTimeoutMs);
    return id.isValid() ? id.value() : 0;
}

void FreedesktopNotifications::close(uint id) {
    bus_.call(QDBusMessage::createMethodCall(Service, Path, Interface,
                                             QStringLiteral("CloseNotification"))
                  << id,
              QDBus::Block, CallTimeoutMs);
}

void FreedesktopNotifications::actionInvoked(uint id, const QString& action) {
    if (action == DefaultAction) {
        emit clicked(id);
    }
}

void FreedesktopNotifications::notificationClosed(uint id, uint) {
    emit closed(id);
}

} // namespace brindle
