#include "mail/ServerFieldMailClient.h"
#include "mail/imap/ImapMailClient.h"
#include "support/ScriptedMailServer.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

using Lines = QList<QByteArray>;
using Authentication = MailSession::Authentication;

ImapOptions fastOptions() {
    ImapOptions options;
    options.connectTimeoutMs = 2000;
    options.replyTimeoutMs = 400;
    return options;
}

// Plain IMAP, which the server field never names: the scripted server speaks
// no TLS, and the login rules are the same once TLS is settled.
MailServerAddress plainImap(const ScriptedMailServer& server) {
    return {MailProtocol::Imap, QStringLiteral("127.0.0.1"), server.port(),
            TransportSecurity::PlainOnly};
}

// Opens a session at address and logs in as alice.
std::variant<int, MailError> logIn(const MailServerAddress& address,
                                   const QString& password = QStringLiteral("secret")) {
    ImapMailClient client(fastOptions());
    const std::unique_ptr<MailSession> session = client.open(address);
    if (!session) {
        return MailError{QStringLiteral("no connection")};
    }
    EXPECT_FALSE(session->checkReadsMessages());
    return session->logIn(QStringLiteral("alice"), password, Authentication::Apop);
}

QString errorOf(const std::variant<int, MailError>& result) {
    const auto* error = std::get_if<MailError>(&result);
    return error == nullptr ? QString() : error->text;
}

TEST(ImapScriptedCheck, PlainAuthenticationThenStatusAmidUntaggedDataAndLiterals) {
    ScriptedMailServer server;
    server.say("* OK [CAPABILITY IMAP4rev1] ready\r\n")
        .answer("* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\na1 OK done\r\n")
        .answer("+ \r\n")
        .answer("a2 OK [CAPABILITY IMAP4rev1 IDLE] logged in\r\n")
        .answer("* 7 EXISTS\r\n* STATUS {5}\r\nINBOX (MESSAGES 7 UNSEEN 4)\r\n* 1 RECENT\r\n"
                "a3 OK done\r\n")
        .answer("* BYE logging out\r\na4 OK done\r\n");
    server.start();

    const auto result = logIn(plainImap(server));

    ASSERT_EQ(std::get<int>(result), 4) << errorOf(result).toStdString();
    EXPECT_EQ(server.clientLines(), (Lines{"a1 CAPABILITY", "a2 AUTHENTICATE PLAIN",
                                           QByteArray("\0alice\0secret", 13).toBase64(),
                                           "a3 STATUS INBOX (UNSEEN)", "a4 LOGOUT"}));
}

TEST(ImapScriptedCheck, LoginQuotesTheAccountWhenPlainIsNotOffered) {
    ScriptedMailServer server;
    server.say("* OK ready\r\n")
        .answer("* CAPABILITY IMAP4rev1\r\na1 OK done\r\n")
        .answer("a2 OK logged in\r\n")
        .answer("* STATUS \"INBOX\" (UNSEEN 0)\r\na3 OK done\r\n")
        .answer("* BYE\r\na4 OK done\r\n");
    server.start();

    EXPECT_EQ(std::get<int>(logIn(plainImap(server), QStringLiteral("se\"c\\ret"))), 0);
    EXPECT_EQ(server.clientLines().value(1), R"(a2 LOGIN "alice" "se\"c\\ret")");
}

TEST(ImapScriptedRefusal, NoCredentialLeavesWhenTheServerForbidsOrCannotProtectIt) {
    struct Case {
        QList<QByteArray> script; // the greeting, then the answers to the client's lines
        bool startTlsField;       // imap:// from the server field, else plain
        QString errorPart;
        Lines clientLines;
    };
    const QByteArray greeting = "* OK ready\r\n";
    const Case cases[] = {
        {{greeting, "* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\na1 OK done\r\n"},
         true,
         "imaps://127.0.0.1",
         {"a1 CAPABILITY"}},
        {{greeting, "* CAPABILITY IMAP4rev1 LOGINDISABLED\r\na1 OK done\r\n"},
         false,
         "受け付けていません",
         {"a1 CAPABILITY"}},
        // Before TLS anyone on the path could fake a logged-in session...
        {{"* PREAUTH ready\r\n"}, true, "暗号化の前にログイン済み", {}},
        // ...or send replies with the answer to STARTTLS, hoping they are taken
        // as ones that came under TLS.
        {{greeting, "* CAPABILITY IMAP4rev1 STARTTLS\r\na1 OK done\r\n",
          "a2 OK begin TLS\r\n* CAPABILITY IMAP4rev1 AUTH=PLAIN\r\n"},
         true,
         "余分なデータ",
         {"a1 CAPABILITY", "a2 STARTTLS"}},
    };
    for (const Case& refused : cases) {
        ScriptedMailServer server;
        server.say(refused.script.first());
        for (const QByteArray& answer : refused.script.mid(1)) {
            server.answer(answer);
        }
        server.start();
        const MailServerAddress address = refused.startTlsField
                                              ? *MailServerAddress::parse(server.address("imap"))
                                              : plainImap(server);
        const QString error = errorOf(logIn(address));
        EXPECT_TRUE(error.contains(refused.errorPart)) << error.toStdString();
        // No further command, and no TLS handshake either.
        EXPECT_EQ(server.clientLines(), refused.clientLines) << error.toStdString();
    }
}

TEST(ImapScriptedFailure, ServerReasonsReachTheUserWithoutThePassword) {
    struct Case {
        QByteArray afterCapability; // the rest of the script, answering the login
        QString expected;
        QByteArray capabilities = "IMAP4rev1";
    };
    const Case cases[] = {
        {"a2 NO [AUTHENTICATIONFAILED] Wrong secret for you\r\n",
         QStringLiteral("ログインできません: Wrong **** for you")},
        // The echoed argument of AUTHENTICATE PLAIN holds the password too.
        {"a2 BAD Bad argument " + QByteArray("\0alice\0secret", 13).toBase64() + "\r\n",
         QStringLiteral("ログインできません: Bad argument ****"), "IMAP4rev1 AUTH=PLAIN SASL-IR"},
        // A line that reaches 64 KiB without ending ends the session at once.
        {"* OK " + QByteArray(64 * 1024 - 5, 'x'), QStringLiteral("長すぎ")},
        {"* BYE [UNAVAILABLE] going down\r\n",
         QStringLiteral("サーバーが接続を終えました: going down")},
        {"* X {999999999}\r\n", QStringLiteral("上限")},
        {"a9 OK someone else's\r\n", QStringLiteral("別のコマンド")},
    };
    for (const Case& failure : cases) {
        ScriptedMailServer server;
        server.say("* OK ready\r\n")
            .answer("* CAPABILITY " + failure.capabilities + "\r\na1 OK done\r\n")
            .answer(failure.afterCapability);
        server.start();
        const QString error = errorOf(logIn(plainImap(server)));
        EXPECT_TRUE(error.contains(failure.expected)) << error.toStdString();
        // A broken session says no LOGOUT.
        EXPECT_EQ(server.clientLines().size(), 2) << error.toStdString();
    }
}

TEST(ImapScriptedCheck, TheServerFieldChoosesTheProtocol) {
    ScriptedMailServer imap;
    imap.say("* OK ready\r\n").answer("* CAPABILITY IMAP4rev1\r\na1 OK done\r\n");
    imap.start();
    ScriptedMailServer pop3;
    pop3.say("+OK ready\r\n").answer("-ERR no\r\n");
    pop3.start();
    Pop3Options pop3Options;
    pop3Options.replyTimeoutMs = 400;
    ServerFieldMailClient client(pop3Options, fastOptions());

    for (ScriptedMailServer* server : {&imap, &pop3}) {
        const auto session = client.open(server->address(server == &imap ? "imap" : "pop3"));
        ASSERT_NE(session, nullptr);
        session->logIn(QStringLiteral("alice"), QStringLiteral("secret"), Authentication::UserPass);
    }
    EXPECT_EQ(imap.clientLines().value(0), "a1 CAPABILITY");
    EXPECT_EQ(pop3.clientLines().value(0), "CAPA");
    EXPECT_EQ(client.open(QStringLiteral("imap://")), nullptr);
}

} // namespace
} // namespace brindle::test
