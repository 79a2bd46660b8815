#include "MailboxCheck.h"
#include "mail/pop3/Pop3MailClient.h"
#include "support/DovecotServer.h"
#include "support/TestCertificates.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

QByteArray message(int number) {
    return "From: sender@example.jp\r\nTo: alice@example.jp\r\nSubject: note " +
           QByteArray::number(number) + "\r\n\r\n.dotted first line\r\nline " +
           QByteArray::number(number) + "\r\n";
}

using Authentication = MailSession::Authentication;

MailboxCheck check(const QString& server, const QString& password = DovecotServer::password,
                   Authentication authentication = Authentication::UserPass) {
    Pop3MailClient client;
    return checkMailbox(client, server, DovecotServer::user, password, authentication);
}

QString plainAddress(const DovecotServer& server) {
    return QStringLiteral("pop3://127.0.0.1:%1").arg(server.pop3Port());
}

TEST(Pop3Dovecot, EmptyMailboxCountsZero) {
    DovecotServer server;
    ASSERT_TRUE(server.start());
    const MailboxCheck result = check(plainAddress(server));
    EXPECT_EQ(result.count, 0) << result.error.toStdString();
    EXPECT_TRUE(server.waitForLoginCount(1));
}

TEST(Pop3Dovecot, ThreeMessagesAreCountedAndFetchedWhole) {
    DovecotServer server;
    for (int number : {1, 2, 3}) {
        server.deliver(message(number));
    }
    ASSERT_TRUE(server.start());
    const MailboxCheck result = check(plainAddress(server));
    EXPECT_EQ(result.count, 3) << result.error.toStdString();
    EXPECT_EQ(result.messages, (QList{message(1), message(2), message(3)}));
    EXPECT_EQ(result.sizes,
              (QList<qint64>{message(1).size(), message(2).size(), message(3).size()}));
    EXPECT_TRUE(server.waitForLoginCount(1));
}

TEST(Pop3Dovecot, WrongPasswordFailsWithDovecotsReason) {
    DovecotServer server;
    ASSERT_TRUE(server.start());
    const MailboxCheck result = check(plainAddress(server), "not the password");
    EXPECT_TRUE(result.connected);
    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("Authentication failed")) << result.error.toStdString();
    EXPECT_FALSE(result.error.contains("not the password"));
    EXPECT_EQ(server.loginCount(), 0);
}

TEST(Pop3Dovecot, ApopLogsIn) {
    DovecotServer server;
    server.deliver(message(1));
    ASSERT_TRUE(server.start());
    const MailboxCheck result =
        check(plainAddress(server), DovecotServer::password, Authentication::Apop);
    EXPECT_EQ(result.count, 1) << result.error.toStdString();
    ASSERT_TRUE(server.waitForLoginCount(1));
    EXPECT_TRUE(server.log().contains("method=APOP")) << server.log().toStdString();
}

TEST(Pop3Dovecot, BareHostOfAServerWithoutTlsNeverLogsIn) {
    DovecotServer server;
    server.deliver(message(1));
    ASSERT_TRUE(server.start());
    const QString bare = QStringLiteral("127.0.0.1:%1").arg(server.pop3Port());
    const MailboxCheck result = check(bare);
    EXPECT_TRUE(result.connected);
    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("pop3://" + bare)) << result.error.toStdString();
    // The same account logs in when plain POP3 is asked for.
    EXPECT_EQ(check(plainAddress(server)).count, 1);
    ASSERT_TRUE(server.waitForLoginCount(1));
    EXPECT_EQ(server.log().count(QStringLiteral("Login: user=<")), 1);
}

// Dovecot serving TLS with a certificate from an authority the client is told
// to trust through SSL_CERT_FILE.
class Pop3DovecotTls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(certificates_.isValid());
        previousTrust_ = qgetenv("SSL_CERT_FILE");
        qputenv("SSL_CERT_FILE", QFile::encodeName(certificates_.authorityFile()));
    }
    void TearDown() override {
        if (previousTrust_.isNull()) {
            qunsetenv("SSL_CERT_FILE");
        } else {
            qputenv("SSL_CERT_FILE", previousTrust_);
        }
    }
    // Starts the server with a certificate for names.
    void startServer(const QStringList& names) {
        ASSERT_TRUE(certificates_.issue("server", names));
        server_.enableTls(certificates_.certificateFile("server"), certificates_.keyFile("server"));
        server_.deliver(message(1));
        ASSERT_TRUE(server_.start());
    }
    // The login lines of Dovecot's log that say the session was protected.
    bool loggedInOverTls() {
        return server_.waitForLoginCount(1) &&
               server_.log().section("Login: user=<", 1).section('\n', 0, 0).contains("TLS");
    }

    TempFolder folder_;
    TestCertificates certificates_{folder_.path()};
    DovecotServer server_;
    QByteArray previousTrust_;
};

TEST_F(Pop3DovecotTls, BareHostIsUpgradedWithStls) {
    startServer({"DNS:localhost", "IP:127.0.0.1"});
    const MailboxCheck result = check(QStringLiteral("127.0.0.1:%1").arg(server_.pop3Port()));
    EXPECT_EQ(result.count, 1) << result.error.toStdString();
    EXPECT_EQ(result.messages, QList{message(1)});
    EXPECT_TRUE(loggedInOverTls()) << server_.log().toStdString();
}

TEST_F(Pop3DovecotTls, Pop3sSpeaksTlsFromTheFirstByte) {
    startServer({"DNS:localhost", "IP:127.0.0.1"});
    const MailboxCheck result =
        check(QStringLiteral("pop3s://localhost:%1").arg(server_.pop3sPort()));
    EXPECT_EQ(result.count, 1) << result.error.toStdString();
    EXPECT_TRUE(loggedInOverTls()) << server_.log().toStdString();
}

TEST_F(Pop3DovecotTls, CertificateForAnotherHostIsRefused) {
    startServer({"DNS:mail.example.jp"});
    const MailboxCheck result =
        check(QStringLiteral("pop3s://127.0.0.1:%1").arg(server_.pop3sPort()));
    EXPECT_TRUE(result.connected);
    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("証明書")) << result.error.toStdString();
    EXPECT_EQ(server_.loginCount(), 0);
}

TEST_F(Pop3DovecotTls, UntrustedAuthorityIsRefusedAlsoOnStls) {
    startServer({"DNS:localhost", "IP:127.0.0.1"});
    qputenv("SSL_CERT_FILE", QFile::encodeName(folder_.file("no-such-file.pem")));
    const MailboxCheck result = check(QStringLiteral("127.0.0.1:%1").arg(server_.pop3Port()));
    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("証明書")) << result.error.toStdString();
    EXPECT_EQ(server_.loginCount(), 0);
}

} // namespace
} // namespace brindle::test
