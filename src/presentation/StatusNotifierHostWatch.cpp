#include "presentation/StatusNotifierHostWatch.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace brindle {

namespace {

const QString Watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString WatcherPath = QStringLiteral("/StatusNotifierWatcher");
// A watcher that does not answer within this time counts as no panel.
constexpr int AnswerLimitMs = 5000;

} // namespace

StatusNotifierHostWatch::StatusNotifierHostWatch(QDBusConnection bus, QObject* parent)
    : QObject(parent), bus_(std::move(bus)),
      nameWatch_(Watcher, bus_, QDBusServiceWatcher::WatchForOwnerChange) {
    connect(&nameWatch_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &StatusNotifierHostWatch::look);
    for (const char* change : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"}) {
        bus_.connect(Watcher, WatcherPath, Watcher, QString::fromLatin1(change), this,
                     SLOT(look()));
    }
    look();
}

void StatusNotifierHostWatch::look() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        Watcher, WatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << Watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* answer = new QDBusPendingCallWatcher(bus_.asyncCall(get, AnswerLimitMs), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer] {
        const QDBusPendingReply<QDBusVariant> reply = *answer;
        setPresent(reply.isValid() && reply.value().variant().toBool());
        answer->deleteLater();
    });
}

void StatusNotifierHostWatch::setPresent(bool present) {
    if (present != present_) {
        present_ = present;
        emit presentChanged();
    }
}

} // namespace brindle
