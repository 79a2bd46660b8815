#include "support/KeyringDaemon.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
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
    for (QProcess* process : {&onlineAccounts_, &daemon_}) {
        process->terminate();
        process->waitForFinished(3000);
    }
}

QProcessEnvironment KeyringDaemon::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus_->address());
    environment.insert(QStringLiteral("HOME"), home_.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home_.file(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_.path());
    return environment;
}

namespace {

bool waitForName(const QDBusConnection& bus, const QString& name) {
    for (int waited = 0; waited < startLimitMs; waited += 50) {
        if (bus.interface()->isServiceRegistered(name)) {
            return true;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace

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
    return waitForName(bus_->connection(), QStringLiteral("org.freedesktop.secrets"));
}

bool KeyringDaemon::startOnlineAccounts() {
    onlineAccounts_.setProcessEnvironment(environment());
    onlineAccounts_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    onlineAccounts_.start(QStringLiteral("/usr/libexec/goa-daemon"), {});
    return onlineAccounts_.waitForStarted(startLimitMs) &&
           waitForName(bus_->connection(), QStringLiteral("org.gnome.OnlineAccounts"));
}

QString KeyringDaemon::addMailAccount(const QString& imapHost, const QString& user,
                                      const QString& password) {
    qDBusRegisterMetaType<QMap<QString, QString>>();
    const QString no = QStringLiteral("false");
    // Its own check of the account accepts the test's certificate; SMTP is not checked.
    const QMap<QString, QString> details{
        {QStringLiteral("Enabled"), QStringLiteral("true")},
        {QStringLiteral("MailEnabled"), QStringLiteral("true")},
        {QStringLiteral("EmailAddress"), user + QStringLiteral("@example.test")},
        {QStringLiteral("Name"), user},
        {QStringLiteral("ImapHost"), imapHost},
        {QStringLiteral("ImapUserName"), user},
        {QStringLiteral("ImapUseSsl"), QStringLiteral("true")},
        {QStringLiteral("ImapUseTls"), no},
        {QStringLiteral("ImapAcceptSslErrors"), QStringLiteral("true")},
        {QStringLiteral("SmtpHost"), QStringLiteral("127.0.0.1:1")},
        {QStringLiteral("SmtpUserName"), user},
        {QStringLiteral("SmtpUseAuth"), no},
        {QStringLiteral("SmtpAuthLogin"), no},
        {QStringLiteral("SmtpAuthPlain"), no},
        {QStringLiteral("SmtpUseSsl"), no},
        {QStringLiteral("SmtpUseTls"), no},
        {QStringLiteral("SmtpAcceptSslErrors"), no}};
    QDBusMessage add = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.OnlineAccounts"), QStringLiteral("/org/gnome/OnlineAccounts/Manager"),
        QStringLiteral("org.gnome.OnlineAccounts.Manager"), QStringLiteral("AddAccount"));
    const QString identity = user + QStringLiteral("@example.test");
    add << QStringLiteral("imap_smtp") << identity << identity
        << QVariantMap{{QStringLiteral("imap-password"), password},
                       {QStringLiteral("smtp-password"), password}}
        << QVariant::fromValue(details);
    const QDBusMessage reply = bus_->connection().call(add, QDBus::Block, startLimitMs);
    const QString path = reply.arguments().value(0).value<QDBusObjectPath>().path();
    return path.section(u'/', -1);
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
