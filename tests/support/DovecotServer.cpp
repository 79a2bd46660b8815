#include "support/DovecotServer.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brindle::test {

namespace {

constexpr int startLimitMs = 20000;

quint16 freeLoopbackPort() {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
}

bool accepts(quint16 port) {
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const bool connected =
        ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return connected;
}

} // namespace

DovecotServer::DovecotServer() {
    // Dovecot never reads or writes mail as root, so root runs hand the mail
    // to the "dovecot" user; other users run every process as themselves.
    const passwd* account = ::geteuid() == 0 ? ::getpwnam("dovecot") : ::getpwuid(::geteuid());
    if (account != nullptr) {
        mailUid_ = account->pw_uid;
        mailGid_ = account->pw_gid;
        serviceUser_ = QString::fromLocal8Bit(account->pw_name);
    }
    QFile::setPermissions(folder_.path(), QFile::permissions(folder_.path()) | QFile::ReadOther |
                                              QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
    for (const char* part :
         {"home/alice/Maildir/new", "home/alice/Maildir/cur", "home/alice/Maildir/tmp"}) {
        folder_.makeFolder(part);
    }
    handToMailUser(folder_.file("home"));
    folder_.write("passwd", QByteArray(user) + ":{PLAIN}" + password + "::::::\n");
}

DovecotServer::~DovecotServer() {
    stop();
}

void DovecotServer::enableTls(const QString& certificateFile, const QString& keyFile) {
    certificateFile_ = certificateFile;
    keyFile_ = keyFile;
}

void DovecotServer::enableOAuth(const QString& introspectionUrl, const QString& discoveryUrl,
                                const QString& mechanisms) {
    introspectionUrl_ = introspectionUrl;
    discoveryUrl_ = discoveryUrl;
    oauthMechanisms_ = mechanisms;
}

bool DovecotServer::start() {
    pop3Port_ = freeLoopbackPort();
    pop3sPort_ = certificateFile_.isEmpty() ? 0 : freeLoopbackPort();
    imapPort_ = freeLoopbackPort();
    imapsPort_ = certificateFile_.isEmpty() ? 0 : freeLoopbackPort();
    writeConfiguration();
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start("dovecot", {"-F", "-c", folder_.file("dovecot.conf")});
    const QDeadlineTimer deadline(startLimitMs);
    while (!deadline.hasExpired() && process_.state() != QProcess::NotRunning) {
        if (accepts(pop3Port_) && (pop3sPort_ == 0 || accepts(pop3sPort_)) && accepts(imapPort_) &&
            (imapsPort_ == 0 || accepts(imapsPort_))) {
            return true;
        }
        process_.waitForFinished(50);
    }
    qWarning("Dovecot did not start; its log:\n%s", qPrintable(log()));
    return false;
}

void DovecotServer::stop() {
    if (process_.state() == QProcess::NotRunning) {
        return;
    }
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void DovecotServer::deliver(const QByteArray& message) {
    ++delivered_;
    // Maildir names must be unique; the size part spares Dovecot a stat call.
    const QString name = QStringLiteral("%1.M%2P%3.brindle,S=%4")
                             .arg(QDateTime::currentSecsSinceEpoch())
                             .arg(delivered_)
                             .arg(::getpid())
                             .arg(message.size());
    folder_.write("home/alice/Maildir/tmp/" + name, message);
    handToMailUser(folder_.file("home/alice/Maildir/tmp/" + name));
    QDir().rename(folder_.file("home/alice/Maildir/tmp/" + name),
                  folder_.file("home/alice/Maildir/new/" + name));
}

void DovecotServer::markAllSeen() {
    const QDir maildir(folder_.file("home/alice/Maildir"));
    for (const char* part : {"new", "cur"}) {
        const QDir folder(maildir.filePath(QString::fromLatin1(part)));
        for (const QString& name : folder.entryList(QDir::Files)) {
            // "unique:2,FLAGS" with the flags in ASCII order; new mail has none yet.
            QString base = name.section(u':', 0, 0);
            QString flags =
                name.contains(u':') ? name.section(QStringLiteral(":2,"), 1) : QString();
            if (!flags.contains(u'S')) {
                flags += u'S';
                std::sort(flags.begin(), flags.end());
            }
            QDir().rename(folder.filePath(name), maildir.filePath("cur/" + base + ":2," + flags));
        }
    }
}

QStringList DovecotServer::seenMessages() const {
    QStringList seen;
    const QDir current(folder_.file("home/alice/Maildir/cur"));
    for (const QString& name : current.entryList(QDir::Files, QDir::Name)) {
        if (name.section(QStringLiteral(":2,"), 1).contains(u'S')) {
            seen << name.section(u':', 0, 0);
        }
    }
    seen.sort();
    return seen;
}

int DovecotServer::loginCount() const {
    // pop3-login: Info: Login: user=<alice>, method=PLAIN, rip=...
    // imap-login: Info: Login: user=<alice>, method=PLAIN, rip=...
    return int(log().count(QStringLiteral("-login: Info: Login: user=<")));
}

bool DovecotServer::waitForLoginCount(int count) const {
    const QDeadlineTimer deadline(5000);
    while (loginCount() < count && !deadline.hasExpired()) {
        QThread::msleep(20);
    }
    return loginCount() == count;
}

QString DovecotServer::log() const {
    return QString::fromUtf8(folder_.read("dovecot.log"));
}

void DovecotServer::writeConfiguration() const {
    const bool root = ::geteuid() == 0;
    QString tls = QStringLiteral("ssl = no\n");
    QString pop3sListener;
    QString imapsListener;
    if (!certificateFile_.isEmpty()) {
        tls = QStringLiteral("ssl = yes\nssl_cert = <%1\nssl_key = <%2\n"
                             "ssl_min_protocol = TLSv1.2\n")
                  .arg(certificateFile_, keyFile_);
        pop3sListener = QStringLiteral("  inet_listener pop3s {\n    port = %1\n    ssl = yes\n"
                                       "  }\n")
                            .arg(pop3sPort_);
        imapsListener = QStringLiteral("  inet_listener imaps {\n    port = %1\n    ssl = yes\n"
                                       "  }\n")
                            .arg(imapsPort_);
    }
    const QString folder = folder_.path();
    QString configuration =
        QStringLiteral("protocols = pop3 imap\n"
                       "listen = 127.0.0.1\n"
                       "base_dir = %1/run\n"
                       "state_dir = %1/state\n"
                       "log_path = %1/dovecot.log\n"
                       "info_log_path = %1/dovecot.log\n"
                       "disable_plaintext_auth = no\n"
                       "auth_mechanisms = plain apop\n"
                       "auth_failure_delay = 0\n"
                       "auth_verbose = yes\n"
                       "first_valid_uid = 1\n"
                       "mail_location = maildir:~/Maildir\n"
                       "passdb {\n  driver = passwd-file\n  args = %1/passwd\n}\n"
                       "userdb {\n  driver = static\n"
                       "  args = uid=%2 gid=%3 home=%1/home/alice\n}\n"
                       "service pop3-login {\n  chroot =\n"
                       "  inet_listener pop3 {\n    port = %4\n  }\n%5}\n"
                       "service imap-login {\n  chroot =\n"
                       "  inet_listener imap {\n    port = %6\n  }\n%7}\n"
                       "service anvil {\n  chroot =\n}\n"
                       "%8")
            .arg(folder)
            .arg(mailUid_)
            .arg(mailGid_)
            .arg(pop3Port_)
            .arg(pop3sListener)
            .arg(imapPort_)
            .arg(imapsListener, tls);
    if (!root) {
        configuration +=
            QStringLiteral("default_internal_user = %1\n"
                           "default_login_user = %1\n"
                           "default_internal_group = %2\n")
                .arg(serviceUser_, QString::fromLocal8Bit(::getgrgid(mailGid_)->gr_name));
    }
    if (!introspectionUrl_.isEmpty()) {
        configuration.replace(
            QStringLiteral("auth_mechanisms = plain apop\n"),
            QStringLiteral("auth_mechanisms = plain apop %1\n").arg(oauthMechanisms_));
        // Without the penalty socket refused tokens do not slow each later
        // login from loopback.
        configuration.replace(
            QStringLiteral("service anvil {\n  chroot =\n}\n"),
            QStringLiteral("service anvil {\n  chroot =\n"
                           "  unix_listener anvil-auth-penalty {\n    mode = 0\n  }\n}\n"));
        configuration += QStringLiteral("passdb {\n  driver = oauth2\n"
                                        "  mechanisms = %1\n"
                                        "  args = %2/oauth2.conf.ext\n}\n")
                             .arg(oauthMechanisms_, folder);
        folder_.write("oauth2.conf.ext", QStringLiteral("introspection_mode = post\n"
                                                        "introspection_url = %1\n"
                                                        "openid_configuration_url = %2\n"
                                                        "username_attribute = username\n"
                                                        "active_attribute = active\n"
                                                        "active_value = true\n"
                                                        "force_introspection = yes\n")
                                             .arg(introspectionUrl_, discoveryUrl_)
                                             .toUtf8());
        QFile::setPermissions(folder_.file("oauth2.conf.ext"),
                              QFile::ReadOwner | QFile::ReadOther | QFile::ReadGroup);
    }
    // Written apart from the arg() calls above, which would take its % signs.
    configuration += "pop3_uidl_format = %08Xu%08Xv\n";
    folder_.write("dovecot.conf", configuration.toUtf8());
    QFile::setPermissions(folder_.file("passwd"), QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ReadOther | QFile::ReadGroup);
}

void DovecotServer::handToMailUser(const QString& path) const {
    if (::geteuid() != 0) {
        return;
    }
    const QByteArray native = QFile::encodeName(path);
    [[maybe_unused]] const int changed = ::chown(native.constData(), mailUid_, mailGid_);
    if (QFileInfo(path).isDir()) {
        for (const QString& entry : QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
            handToMailUser(path + '/' + entry);
        }
    }
}

QList<qint64> DovecotServer::imapSessionProcesses() const {
    QList<qint64> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // "pid (name) state ppid ...": Dovecot's master starts one per session.
        const QByteArray line = stat.readAll();
        const QByteArray name =
            line.mid(line.indexOf('(') + 1, line.lastIndexOf(')') - line.indexOf('(') - 1);
        const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (name == "imap" && rest.size() > 1 && rest[1].toLongLong() == process_.processId()) {
            found << entry.toLongLong();
        }
    }
    return found;
}

} // namespace brindle::test
