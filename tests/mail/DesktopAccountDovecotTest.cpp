#include "mail/MailCheck.h"
#include "mail/ServerFieldMailClient.h"
#include "settings/core/SharedSettings.h"
#include "signin/GnomeOnlineAccounts.h"
#include "signin/KeyringAccessTokens.h"
#include "signin/KeyringMailboxPasswords.h"
#include "support/AuthorizationServer.h"
#include "support/DovecotServer.h"
#include "support/FakePlatform.h"
#include "support/KeyringDaemon.h"
#include "support/TempFolder.h"
#include "support/TestCertificates.h"

#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QDirIterator>
#include <QFile>
#include <QMutex>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

// Stands in for the desktop's online accounts holding one account whose
// tokens the test authorization server issued (a real provider needs its
// servers); records what it is asked.
class OnlineAccountsStandIn : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QMutexLocker lock(&mutex);
        asked << message.member();
        QDBusMessage reply = message.createErrorReply(QDBusError::UnknownMethod, {});
        if (message.member() == QLatin1String("GetManagedObjects")) {
            reply = message.createReply(QVariant::fromValue(accounts));
        } else if (message.member() == QLatin1String("EnsureCredentials")) {
            reply = refusal.isEmpty() ? message.createReply(3600)
                                      : message.createErrorReply(
                                            QStringLiteral("org.gnome.OnlineAccounts.Error.NotAuthorized"), refusal);
        } else if (message.member() == QLatin1String("GetAccessToken") && !tokens.isEmpty()) {
            reply = message.createReply({tokens.takeFirst(), 3600});
        }
        return connection.send(reply);
    }
    QString introspect(const QString&) const override { return {}; }

    QMutex mutex;
    ManagedObjects accounts;
    QStringList tokens; // one for each GetAccessToken
    QString refusal;    // EnsureCredentials refuses with it when set
    QStringList asked;
};

// Dovecot over TLS that takes passwords and the test authorization server's
// tokens, a private session bus with gnome-keyring, and the check of an
// account that signs in through a desktop account.
class DesktopAccountDovecot : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(certificates_.isValid());
        ASSERT_TRUE(certificates_.issue("server", {"DNS:localhost", "IP:127.0.0.1"}));
        qputenv("SSL_CERT_FILE", QFile::encodeName(certificates_.authorityFile()));
        ASSERT_TRUE(authorization.start());
        server.enableTls(certificates_.certificateFile("server"), certificates_.keyFile("server"));
        server.enableOAuth(authorization.url(QStringLiteral("/introspect")),
                           authorization.discoveryUrl(), QStringLiteral("xoauth2"));
        server.deliver("Subject: one\r\n\r\nline\r\n");
        server.deliver("Subject: two\r\n\r\nline\r\n");
        ASSERT_TRUE(server.start());
        ASSERT_TRUE(keyring.start());
        folder.makeFolder(QStringLiteral("★MailData"));
    }
    void TearDown() override {
        qunsetenv("SSL_CERT_FILE");
        // Named connections outlive the bus they were made to.
        QDBusConnection::disconnectFromBus(QStringLiteral("check"));
        QDBusConnection::disconnectFromBus(QStringLiteral("goa"));
    }

    // The account file as the account dialog leaves it for this desktop account.
    void chooseAccount(const QString& accountId) {
        folder.write(QStringLiteral("★MailData/iniIdPass.ini"),
                     QStringLiteral("[EXEINI]\r\nNAME=alice\r\nAUTH=GOA\r\nAUTHSERVER=%1\r\n"
                                    "DESKTOPACCOUNT=%2\r\n")
                         .arg(field(), accountId)
                         .toLatin1());
    }
    QString field() const { return QStringLiteral("imaps://localhost:%1").arg(server.imapsPort()); }
    // One check; the count it found, or the error texts.
    std::variant<int, QStringList> check(DesktopAccounts& desktop) {
        shared.Pop3Server = field();
        MailCheck mailCheck(MailCheck::Services{
            client, dialUpLinks, shared, tokens, passwords,
            ProgramFiles(folder.path(), SettingsLocation::besideProgram(folder.path())),
            [] { return false; }, TimeMarks(), &desktop});
        QSignalSpy found(&mailCheck, &MailCheck::newMail);
        QSignalSpy failed(&mailCheck, &MailCheck::loginFailed);
        QObject::connect(&mailCheck, &MailCheck::loggedIn,
                         [this](const MailAccess& access) { lastAccess = access; });
        mailCheck.checkMail();
        if (!failed.isEmpty()) {
            return QStringList{failed.at(0).at(0).toString()};
        }
        return found.isEmpty() ? 0 : found.at(0).at(0).toInt();
    }

    AuthorizationServer authorization;
    DovecotServer server;
    KeyringDaemon keyring;
    QDBusConnection bus = QDBusConnection::connectToBus(keyring.busAddress(), QStringLiteral("check"));
    FakeSecretStore secrets;
    KeyringAccessTokens tokens{secrets};
    KeyringMailboxPasswords passwords{secrets};
    ServerFieldMailClient client;
    FakeDialUpLinks dialUpLinks;
    SharedSettings shared;
    TempFolder folder;
    MailAccess lastAccess;

private:
    TempFolder certificateFolder_;
    TestCertificates certificates_{certificateFolder_.path()};
};

TEST_F(DesktopAccountDovecot, TheDesktopsPasswordChecksAndPushesAndNoFileHoldsIt) {
    ASSERT_TRUE(keyring.startOnlineAccounts());
    const QString accountId = keyring.addMailAccount(
        QStringLiteral("localhost:%1").arg(server.imapsPort()), QStringLiteral("alice"),
        QString::fromLatin1(DovecotServer::password));
    ASSERT_FALSE(accountId.isEmpty());
    GnomeOnlineAccounts desktop(bus);
    std::optional<QList<DesktopAccounts::MailAccount>> offered;
    QObject receiver;
    desktop.listMailAccounts(&receiver, [&offered](const auto& accounts) { offered = accounts; });
    ASSERT_TRUE(QTest::qWaitFor([&offered] { return offered.has_value(); }, 10000));
    ASSERT_EQ(offered->size(), 1);
    EXPECT_EQ((*offered)[0].server, field());
    EXPECT_EQ((*offered)[0].name, QStringLiteral("alice@example.test"));
    chooseAccount((*offered)[0].id);

    EXPECT_EQ(check(desktop), (std::variant<int, QStringList>(2)));
    bool told = false;
    const std::unique_ptr<MailWatch> watch = client.watch(lastAccess, [&told] { told = true; });
    ASSERT_NE(watch, nullptr);
    ASSERT_TRUE(server.waitForLoginCount(3)) << server.log().toStdString();
    QTest::qWait(500); // into IDLE
    server.deliver("Subject: three\r\n\r\nline\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&told] { return told; }, 10000));

    for (QDirIterator file(folder.path(), QDir::Files, QDirIterator::Subdirectories); file.hasNext();) {
        QFile read(file.next());
        ASSERT_TRUE(read.open(QIODevice::ReadOnly));
        EXPECT_FALSE(read.readAll().contains(DovecotServer::password)) << file.filePath().toStdString();
    }
}

TEST_F(DesktopAccountDovecot, ADesktopTokenIsAskedForAtEveryLoginAndTroubleIsToldWithWhereToFixIt) {
    GnomeOnlineAccounts desktop(bus); // registers the D-Bus types the stand-in answers with
    OnlineAccountsStandIn standIn;
    const QString path = QStringLiteral("/org/gnome/OnlineAccounts/Accounts/google_1");
    standIn.accounts[QDBusObjectPath(path)] = Interfaces{
        {QStringLiteral("org.gnome.OnlineAccounts.Account"),
         {{QStringLiteral("Id"), QStringLiteral("google_1")},
          {QStringLiteral("PresentationIdentity"), QStringLiteral("alice@gmail.test")},
          {QStringLiteral("ProviderName"), QStringLiteral("Google")}}},
        {QStringLiteral("org.gnome.OnlineAccounts.Mail"),
         {{QStringLiteral("ImapSupported"), true},
          {QStringLiteral("ImapHost"), QStringLiteral("localhost:%1").arg(server.imapsPort())},
          {QStringLiteral("ImapUseSsl"), true},
          {QStringLiteral("ImapUserName"), QStringLiteral("alice")}}},
        {QStringLiteral("org.gnome.OnlineAccounts.OAuth2Based"), {}}};
    for (int turn = 0; turn < 2; ++turn) {
        standIn.tokens << authorization.issueTokens().value(QLatin1String("access_token")).toString();
    }
    QDBusConnection service = QDBusConnection::connectToBus(keyring.busAddress(), QStringLiteral("goa"));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.gnome.OnlineAccounts")));
    ASSERT_TRUE(service.registerVirtualObject(QStringLiteral("/org/gnome/OnlineAccounts"), &standIn,
                                              QDBusConnection::SubPath));
    chooseAccount(QStringLiteral("google_1"));

    EXPECT_EQ(check(desktop), (std::variant<int, QStringList>(2)));
    EXPECT_EQ(check(desktop), (std::variant<int, QStringList>(2)));
    EXPECT_EQ(standIn.asked.filter(QStringLiteral("GetAccessToken")).size(), 2);
    EXPECT_EQ(server.log().count(QStringLiteral("method=XOAUTH2")), 2) << server.log().toStdString();

    standIn.refusal = QStringLiteral("Token expired");
    const auto refused = check(desktop);
    ASSERT_TRUE(std::holds_alternative<QStringList>(refused));
    EXPECT_TRUE(std::get<QStringList>(refused)[0].contains(QStringLiteral("「オンラインアカウント」")));
    EXPECT_TRUE(std::get<QStringList>(refused)[0].contains(QStringLiteral("Token expired")));

    standIn.accounts.clear(); // removed from the desktop
    const auto removed = check(desktop);
    ASSERT_TRUE(std::holds_alternative<QStringList>(removed));
    EXPECT_TRUE(std::get<QStringList>(removed)[0].contains(QStringLiteral("見つかりません")));
    EXPECT_EQ(standIn.asked.filter(QStringLiteral("GetAccessToken")).size(), 2);
    service.unregisterObject(QStringLiteral("/org/gnome/OnlineAccounts"),
                             QDBusConnection::UnregisterTree);
}

} // namespace
} // namespace brindle::test
