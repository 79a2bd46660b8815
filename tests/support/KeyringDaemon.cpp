#include "support/KeyringDaemon.h"

#include <QDBusConnectionInterface>
#include <QThread>

namespace brindle::test {

namespace {

constexpr int startLimitMs = 10000;

} // namespace

KeyringDaemon::KeyringDaemon(const PrivateBus* bus)
    : ownBus_(bus ? nullptr : std::make_unique<PrivateBus>()), bus_(bus ? bus : ownBus_.get()) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus_->address().toUtf8());
}

KeyringDaemon::~KeyringDaemon() {
    daemon_.terminate();
    daemon_.waitForFinished(3000);
}

QProcessEnvironment KeyringDaemon::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus_->address());
    environment.insert(QStringLiteral("HOME"), home_.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home_.file(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
    return environment;
}

bool KeyringDaemon::start() {
    daemon_.setProcessEnvironment(environment());
    daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon_.start(QStringLiteral("gnome-keyring-daemon"),
                  {QStringLiteral("--unlock"), QStringLiteral("--components=secrets"),
                   QStringLiteral("--foreground")});
    if (!daemon_.waitForStarted(startLimitMs)) {
        return false;
    }
    // The password unlocks (and first makes) the login keyring; it has to be
    // on its way before the wait below, which runs no events.
    daemon_.write("keyring-test-password");
    daemon_.waitForBytesWritten(startLimitMs);
    daemon_.closeWriteChannel();
    for (int waited = 0; waited < startLimitMs; waited += 50) {
        if (bus_->connection().interface()->isServiceRegistered(
                QStringLiteral("org.freedesktop.secrets"))) {
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

QByteArray KeyringDaemon::lookUp(const QString& key) const {
    QProcess tool;
    tool.setProcessEnvironment(environment());
    tool.start(QStringLiteral("secret-tool"),
               {QStringLiteral("lookup"), QStringLiteral("server"), QStringLiteral("Brindle"),
                QStringLiteral("user"), key});
    tool.waitForFinished(startLimitMs);
    return tool.readAllStandardOutput();
}

} // namespace brindle::test
