#include "mail/imap/ImapMailClient.h"
#include "mail/pop3/Pop3MailClient.h"
#include "support/ScriptedMailServer.h"
#include "support/TrustedTls.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

using Lines = QList<QByteArray>;

const QByteArray discovery = "https://auth.example/.well-known/openid-configuration";
const QByteArray refusal =
    QByteArray(R"({"status":"invalid_token","openid-configuration":")" + discovery + "\"}")
        .toBase64();

// One login with a token against a scripted server. In the expected client
// lines "{OB}" and "{X2}" stand for the OAUTHBEARER and XOAUTH2 messages.
struct Case {
    const char* name;
    MailProtocol protocol;
    QByteArray greeting;
    Lines answers; // one per client line, in order
    QByteArray token;
    Lines expected;
    int count; // -1: the login fails
    QStringList errorParts;
    QByteArray discovery;
    TransportSecurity security = TransportSecurity::ImplicitTls;
};

class BearerLoginScripted : public ::testing::TestWithParam<Case> {};

TEST_P(BearerLoginScripted, SendsTheTokenAsTheServerAsksAndKeepsItOutOfTheError) {
    const Case& c = GetParam();
    const TrustedTls tls;
    ASSERT_TRUE(tls.isValid());
    ScriptedMailServer server;
    if (c.security == TransportSecurity::ImplicitTls) {
        server.useTls(tls.certificateFile(), tls.keyFile());
    }
    server.say(c.greeting);
    for (const QByteArray& answer : c.answers) {
        server.answer(answer);
    }
    server.start();
    ConnectionOptions timing;
    timing.connectTimeoutMs = 2000;
    timing.replyTimeoutMs = 400;
    Pop3Options pop3Options;
    ImapOptions imapOptions;
    static_cast<ConnectionOptions&>(pop3Options) = timing;
    static_cast<ConnectionOptions&>(imapOptions) = timing;
    const MailServerAddress address{c.protocol, QStringLiteral("127.0.0.1"), server.port(),
                                    c.security};
    std::unique_ptr<MailSession> session = c.protocol == MailProtocol::Pop3
                                               ? Pop3MailClient(pop3Options).open(address)
                                               : ImapMailClient(imapOptions).open(address);
    ASSERT_NE(session, nullptr);

    const auto result = session->logIn(QStringLiteral("alice"), QString::fromLatin1(c.token),
                                       MailSession::Authentication::Bearer);
    session.reset();

    const QByteArray port = QByteArray::number(server.port());
    const QByteArray oauthBearer = QByteArray("n,a=alice,\x01host=127.0.0.1\x01port=" + port +
                                              "\x01"
                                              "auth=Bearer " +
                                              c.token + "\x01\x01")
                                       .toBase64();
    const QByteArray xoauth2 = QByteArray("user=alice\x01"
                                          "auth=Bearer " +
                                          c.token + "\x01\x01")
                                   .toBase64();
    Lines expected = c.expected;
    for (QByteArray& line : expected) {
        line.replace("{OB}", oauthBearer).replace("{X2}", xoauth2);
    }
    EXPECT_EQ(server.clientLines(), expected);
    if (c.count >= 0) {
        EXPECT_EQ(std::get<int>(result), c.count);
        return;
    }
    const auto* error = std::get_if<MailError>(&result);
    ASSERT_NE(error, nullptr);
    for (const QString& part : c.errorParts) {
        EXPECT_TRUE(error->text.contains(part)) << error->text.toStdString();
    }
    EXPECT_FALSE(error->text.contains(QString::fromLatin1(c.token))) << error->text.toStdString();
    EXPECT_EQ(error->openidConfiguration, QString::fromLatin1(c.discovery));
}

const QByteArray longToken(300, 'y'); // too long for POP3's 255-octet AUTH line

INSTANTIATE_TEST_SUITE_P(
    Exchanges, BearerLoginScripted,
    ::testing::Values(
        Case{"Pop3OauthbearerOnTheAuthLine",
             MailProtocol::Pop3,
             "+OK ready\r\n",
             {"+OK\r\nSASL PLAIN XOAUTH2 OAUTHBEARER\r\n.\r\n", "+OK welcome\r\n", "+OK 2 300\r\n",
              "+OK bye\r\n"},
             "tok-1",
             {"CAPA", "AUTH OAUTHBEARER {OB}", "STAT", "QUIT"},
             2,
             {},
             ""},
        Case{"Pop3LongTokenWaitsForTheEmptyChallenge",
             MailProtocol::Pop3,
             "+OK ready\r\n",
             {"+OK\r\nSASL XOAUTH2\r\n.\r\n", "+ \r\n", "+OK\r\n", "+OK 0 0\r\n", "+OK\r\n"},
             longToken,
             {"CAPA", "AUTH XOAUTH2", "{X2}", "STAT", "QUIT"},
             0,
             {},
             ""},
        Case{"Pop3RefusalNamesTheDiscoveryDocument",
             MailProtocol::Pop3,
             "+OK ready\r\n",
             {"+OK\r\nSASL OAUTHBEARER\r\n.\r\n", "+ " + refusal + "\r\n",
              "-ERR [AUTH] Invalid token tok-2\r\n"},
             "tok-2",
             {"CAPA", "AUTH OAUTHBEARER {OB}", "AQ=="},
             -1,
             {"Invalid token", "invalid_token"},
             discovery},
        Case{"Pop3WithoutABearerMechanismSendsNoToken",
             MailProtocol::Pop3,
             "+OK ready\r\n",
             {"+OK\r\nSASL PLAIN\r\nUSER\r\n.\r\n"},
             "tok-3",
             {"CAPA"},
             -1,
             {"OAUTHBEARER"},
             ""},
        Case{"Pop3SecondChallengeEndsTheSession",
             MailProtocol::Pop3,
             "+OK ready\r\n",
             {"+OK\r\nSASL OAUTHBEARER\r\n.\r\n", "+ e30=\r\n", "+ e30=\r\n"},
             "tok-4",
             {"CAPA", "AUTH OAUTHBEARER {OB}", "AQ=="},
             -1,
             {"予期しない"},
             ""},
        Case{"Pop3ChallengeOutsideAuthIsNotPop3",
             MailProtocol::Pop3,
             "+OK ready\r\n",
             {"+ go on\r\n"},
             "tok-5",
             {"CAPA"},
             -1,
             {"POP3 の形式"},
             ""},
        Case{"ImapSaslIrSendsTheTokenWithTheCommand",
             MailProtocol::Imap,
             "* OK ready\r\n",
             {"* CAPABILITY IMAP4rev1 SASL-IR AUTH=PLAIN AUTH=XOAUTH2 AUTH=OAUTHBEARER\r\n"
              "a1 OK\r\n",
              "a2 OK done\r\n", "* STATUS INBOX (UNSEEN 5)\r\na3 OK\r\n", "* BYE\r\na4 OK\r\n"},
             "tok-6",
             {"a1 CAPABILITY", "a2 AUTHENTICATE OAUTHBEARER {OB}", "a3 STATUS INBOX (UNSEEN)",
              "a4 LOGOUT"},
             5,
             {},
             ""},
        Case{"ImapXoauth2RefusalIsAnsweredWithAnEmptyLine",
             MailProtocol::Imap,
             "* OK ready\r\n",
             {"* CAPABILITY IMAP4rev1 AUTH=XOAUTH2\r\na1 OK\r\n", "+ \r\n",
              "+ " + QByteArray(R"({"status":"401","schemes":"bearer"})").toBase64() + "\r\n",
              "a2 NO [AUTHENTICATIONFAILED] Invalid credentials\r\n"},
             "tok-7",
             {"a1 CAPABILITY", "a2 AUTHENTICATE XOAUTH2", "{X2}", ""},
             -1,
             {"Invalid credentials", "401"},
             ""},
        Case{"ImapOauthbearerRefusalNamesTheDiscoveryDocument",
             MailProtocol::Imap,
             "* OK ready\r\n",
             {"* CAPABILITY IMAP4rev1 SASL-IR AUTH=OAUTHBEARER\r\na1 OK\r\n",
              "+ " + refusal + "\r\n", "a2 NO [AUTHENTICATIONFAILED] Authentication failed\r\n"},
             "tok-8",
             {"a1 CAPABILITY", "a2 AUTHENTICATE OAUTHBEARER {OB}", "AQ=="},
             -1,
             {"Authentication failed", "invalid_token"},
             discovery},
        Case{"Pop3PlainConnectionSendsNoToken",
             MailProtocol::Pop3,
             "+OK ready\r\n",
             {"+OK\r\nSASL OAUTHBEARER\r\n.\r\n"},
             "tok-10",
             {"CAPA"},
             -1,
             {"暗号化されていない"},
             "",
             TransportSecurity::PlainOnly},
        Case{"ImapPlainConnectionSendsNoToken",
             MailProtocol::Imap,
             "* OK ready\r\n",
             {"* CAPABILITY IMAP4rev1 SASL-IR AUTH=OAUTHBEARER\r\na1 OK\r\n"},
             "tok-11",
             {"a1 CAPABILITY"},
             -1,
             {"暗号化されていない"},
             "",
             TransportSecurity::PlainOnly},
        Case{"ImapWithoutABearerMechanismSendsNoToken",
             MailProtocol::Imap,
             "* OK ready\r\n",
             {"* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\na1 OK\r\n"},
             "tok-9",
             {"a1 CAPABILITY"},
             -1,
             {"OAUTHBEARER"},
             ""}),
    [](const auto& tested) { return std::string(tested.param.name); });

} // namespace
} // namespace brindle::test
