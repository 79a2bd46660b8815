#include "MailboxCheck.h"
#include "mail/ReadMessages.h"
#include "mail/net/TcpConnector.h"
#include "mail/pop3/Pop3MailClient.h"
#include "mail/pop3/Pop3Session.h"
#include "support/ScriptedMailServer.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brindle::test {
namespace {

using Lines = QList<QByteArray>;

Pop3Options fastOptions() {
    Pop3Options options;
    options.connectTimeoutMs = 2000;
    options.replyTimeoutMs = 400;
    return options;
}

// Greeting, capabilities and a USER/PASS login that finds count messages.
ScriptedMailServer& loggedIn(ScriptedMailServer& server, const QByteArray& capabilities,
                             int count) {
    return server.say("+OK ready\r\n")
        .answer("+OK\r\n" + capabilities + ".\r\n")
        .answer("+OK\r\n")
        .answer("+OK logged in\r\n")
        .answer("+OK " + QByteArray::number(count) + " 1000\r\n");
}

QByteArray message(int number) {
    return "Subject: message " + QByteArray::number(number) + "\r\nFrom: a@b\r\n\r\nbody\r\n";
}

// The three answers of one message, each as a multi-line or single-line reply.
QList<QByteArray> answersFor(int number) {
    const QByteArray text = message(number);
    return {"+OK\r\n" + text.left(text.indexOf("\r\n\r\n") + 4) + ".\r\n",
            "+OK " + QByteArray::number(number) + ' ' + QByteArray::number(text.size()) + "\r\n",
            "+OK\r\n" + text + ".\r\n"};
}

using Authentication = MailSession::Authentication;

// One mail check as alice; the server must take the connection.
MailboxCheck check(const QString& server, const QString& password = QStringLiteral("secret"),
                   Authentication authentication = Authentication::UserPass,
                   const Pop3Options& options = fastOptions()) {
    Pop3MailClient client(options);
    const MailboxCheck result =
        checkMailbox(client, server, QStringLiteral("alice"), password, authentication);
    EXPECT_TRUE(result.connected);
    return result;
}

// Logs in and fetches only message 1, skipping its header and size.
std::optional<QByteArray> fetchFirstMessageOnly(const QString& server) {
    Pop3MailClient client(fastOptions());
    const std::unique_ptr<MailSession> session = client.open(server);
    if (!session) {
        ADD_FAILURE() << "no connection";
        return std::nullopt;
    }
    EXPECT_EQ(std::get<int>(session->logIn("alice", "secret", Authentication::UserPass)), 1);
    return session->fetch(1);
}

TEST(Pop3ScriptedLogin, UserPassWithoutPipeliningWaitsForEachAnswer) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\nTOP\r\n", 2);
    for (int number : {1, 2}) {
        for (const QByteArray& answer : answersFor(number)) {
            server.answer(answer);
        }
    }
    server.answer("+OK bye\r\n");
    server.start();

    const MailboxCheck result = check(server.address());

    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.messages, (QList{message(1), message(2)}));
    EXPECT_EQ(result.subjects, (QStringList{"message 1", "message 2"}));
    EXPECT_EQ(server.clientLines(),
              (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0", "LIST 1", "RETR 1",
                     "TOP 2 0", "LIST 2", "RETR 2", "QUIT"}));
    // Each command went out only after the answer to the one before.
    EXPECT_EQ(server.repliesBeforeEachLine(), (QList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(Pop3ScriptedLogin, PipeliningSendsTheCommandsOfAllMessagesAhead) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\nTOP\r\nPIPELINING\r\n", 2);
    server.hear(6); // answers only once all six commands have arrived
    for (int number : {1, 2}) {
        for (const QByteArray& answer : answersFor(number)) {
            server.say(answer);
        }
    }
    server.answer("+OK bye\r\n");
    server.start();

    const MailboxCheck result = check(server.address());

    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.messages, (QList{message(1), message(2)}));
    EXPECT_EQ(server.clientLines(),
              (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0", "LIST 1", "RETR 1",
                     "TOP 2 0", "LIST 2", "RETR 2", "QUIT"}));
    EXPECT_EQ(server.repliesBeforeEachLine(), (QList{1, 2, 3, 4, 5, 5, 5, 5, 5, 5, 11}));
}

TEST(Pop3ScriptedLogin, PipelinedAnswersTheCallerSkippedAreReadAndDropped) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\nPIPELINING\r\n", 1);
    server.hear(3);
    for (const QByteArray& answer : answersFor(1)) {
        server.say(answer);
    }
    server.answer("+OK bye\r\n");
    server.start();

    EXPECT_EQ(fetchFirstMessageOnly(server.address()), message(1));
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0",
                                           "LIST 1", "RETR 1", "QUIT"}));
}

// UIDL names the messages (an id with a blank is no id); their headers are
// read by TOP n 0 alone, nothing sent ahead, and cut at 8 KiB. A server
// without UIDL names none.
TEST(Pop3ScriptedLogin, UidlNamesTheMessagesAndTopAloneReadsTheirHeaders) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\nTOP\r\nPIPELINING\r\n", 3)
        .answer("+OK\r\n1 a1\r\n2 b 2\r\n3 c3\r\n.\r\n")
        .answer("+OK\r\nSubject: =?UTF-8?B?5pel5pys?=\r\nX: " + QByteArray(9000, 'x') +
                "\r\nFrom: too late\r\n\r\n.\r\n")
        .answer("-ERR gone\r\n")
        .answer("+OK bye\r\n")
        .nextClient();
    loggedIn(server, "USER\r\n", 1).answer("-ERR no UIDL\r\n").answer("+OK bye\r\n");
    server.start();
    Pop3MailClient client(fastOptions());
    for (const bool uidl : {true, false}) {
        const std::unique_ptr<MailSession> session = client.open(server.address());
        ASSERT_TRUE(session);
        ASSERT_TRUE(std::holds_alternative<int>(
            session->logIn("alice", "secret", Authentication::UserPass)));
        const std::optional<QStringList> ids = session->messageIds();
        ASSERT_EQ(ids.has_value(), uidl);
        if (uidl) {
            EXPECT_EQ(*ids, (QStringList{"a1", "c3"}));
            const QHash<QString, MailHeader> headers = session->headers({"c3", "a1"});
            ASSERT_EQ(headers.keys(), QStringList{"c3"});
            EXPECT_EQ(headers["c3"].subject, "日本");
            EXPECT_TRUE(headers["c3"].from.isEmpty());
        }
    }
    EXPECT_EQ(server.clientLines(),
              (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "UIDL", "TOP 3 0", "TOP 1 0",
                     "QUIT", "CAPA", "USER alice", "PASS secret", "STAT", "UIDL", "QUIT"}));
}

TEST(Pop3ScriptedLogin, PlainSchemeNeverStartsTlsEvenWhenOffered) {
    ScriptedMailServer server;
    loggedIn(server, "STLS\r\nUSER\r\n", 0).answer("+OK bye\r\n");
    server.start();

    EXPECT_EQ(check(server.address()).count, 0);
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "QUIT"}));
}

TEST(Pop3ScriptedLogin, ApopSendsTheDigestOfTimestampAndPasswordAndKeepsTheServersRefusal) {
    ScriptedMailServer server;
    server.say("+OK POP3 server ready <1896.697170952@dbc.mtview.ca.us>\r\n")
        .answer("-ERR unknown command\r\n")
        .answer("-ERR [AUTH] Authentication failed.\r\n");
    server.start();

    Pop3MailClient client(fastOptions());
    const std::unique_ptr<MailSession> session = client.open(server.address());
    ASSERT_NE(session, nullptr);
    const auto loggedIn = session->logIn("mrose", "tanstaaf", Authentication::Apop);

    const auto* error = std::get_if<MailError>(&loggedIn);
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(error->text.contains("[AUTH] Authentication failed.")) << error->text.toStdString();
    // The digest of "<1896.697170952@dbc.mtview.ca.us>tanstaaf" given in RFC 1939.
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA", "APOP mrose c4c9334bac560ecc979e58001b3e22fb"}));
}

TEST(Pop3ScriptedLogin, ApopWithoutTimestampFailsWithoutSendingThePassword) {
    ScriptedMailServer server;
    server.say("+OK ready\r\n").answer("+OK\r\nUSER\r\n.\r\n");
    server.start();

    const MailboxCheck result = check(server.address(), "secret", Authentication::Apop);

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("タイムスタンプ")) << result.error.toStdString();
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA"}));
}

TEST(Pop3ScriptedLogin, TheServersReasonIsShownWithoutThePasswordUpToANul) {
    struct Case {
        QByteArray refusal;
        QString error;
    };
    const Case cases[] = {
        {"-ERR wrong password s3cr3t for alice\r\n",
         "ログインできません: wrong password **** for alice"},
        {QByteArray("-ERR locked\0rest\r\n", 18), "ログインできません: locked"},
    };
    for (const Case& refused : cases) {
        ScriptedMailServer server;
        server.say("+OK ready\r\n")
            .answer("+OK\r\nUSER\r\n.\r\n")
            .answer("+OK\r\n")
            .answer(refused.refusal);
        server.start();

        const MailboxCheck result = check(server.address(), "s3cr3t");

        EXPECT_LT(result.count, 0);
        EXPECT_EQ(result.error, refused.error);
    }
}

TEST(Pop3ScriptedFaults, GreetingNeverSentTimesOut) {
    ScriptedMailServer server;
    server.start();

    const MailboxCheck result = check(server.address());

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("応答がありません")) << result.error.toStdString();
    EXPECT_TRUE(server.clientLines().isEmpty());
}

TEST(Pop3ScriptedFaults, EndlessLineIsAProtocolError) {
    ScriptedMailServer server;
    server.say("+OK " + QByteArray(100 * 1024, 'x'));
    server.start();

    const MailboxCheck result = check(server.address());

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("長すぎ")) << result.error.toStdString();
}

TEST(Pop3ScriptedFaults, ReplyCutInTheMiddleOfAMessageEndsWithAnError) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\n", 1);
    server.answer(answersFor(1).at(0))
        .answer(answersFor(1).at(1))
        .answer("+OK\r\nSubject: message 1\r\n\r\nthe first half of")
        .hangUp();
    server.start();

    Pop3Session session(*MailServerAddress::parse(server.address()), fastOptions());
    ASSERT_TRUE(session.connect());
    ASSERT_EQ(session.authenticate("alice", "secret", MailSession::Authentication::UserPass), 1);
    MailHeader header;
    QByteArray body;
    EXPECT_EQ(session.fetchStatus(1, header), 0);
    EXPECT_GT(session.fetchSize(1), 0);
    EXPECT_LT(session.fetchMessage(1, header, body), 0);
    EXPECT_TRUE(session.errorText().contains("切")) << session.errorText().toStdString();
    // The session is over; further calls fail quietly.
    EXPECT_LT(session.fetchStatus(1, header), 0);
    session.quit();
}

TEST(Pop3ScriptedFaults, ImplausibleListSizesAreRefused) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\n", 2);
    server.answer("+OK 1 1099511627776\r\n").answer("+OK 2 -5\r\n").answer("+OK bye\r\n");
    server.start();

    Pop3Session session(*MailServerAddress::parse(server.address()), fastOptions());
    ASSERT_TRUE(session.connect());
    ASSERT_EQ(session.authenticate("alice", "secret", MailSession::Authentication::UserPass), 2);
    EXPECT_LT(session.fetchSize(1), 0);
    EXPECT_TRUE(session.errorText().contains("1099511627776"));
    EXPECT_LT(session.fetchSize(2), 0);
    session.quit();
    EXPECT_EQ(server.clientLines(),
              (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "LIST 1", "LIST 2", "QUIT"}));
}

TEST(Pop3ScriptedFaults, DotStuffingIsUndoneAcrossReads) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\n", 1);
    server.hear().say("+OK\r\nSubject: d\r\n\r\n..lead").pause(50);
    for (const char* piece : {"ing\r\n.", ".\r\n", "..", "x\r\n.", "\r", "\n"}) {
        server.say(piece).pause(50);
    }
    server.answer("+OK bye\r\n");
    server.start();

    EXPECT_EQ(fetchFirstMessageOnly(server.address()),
              QByteArray("Subject: d\r\n\r\n.leading\r\n.\r\n.x\r\n"));
}

QString bareAddress(const ScriptedMailServer& server) {
    return QStringLiteral("127.0.0.1:%1").arg(server.port());
}

TEST(Pop3ScriptedStls, AnswerToStlsNotFollowedByTheHandshakeEndsTheSession) {
    struct Case {
        QByteArray stlsAnswer;
        bool hangUp;
        QString errorPart;
    };
    const Case cases[] = {
        {"+OK begin TLS\r\n", true, "TLS"},
        // Sent in one write by someone on the path, hoping the second reply is
        // taken as one that came under TLS.
        {"+OK begin TLS\r\n+OK\r\nUSER\r\n.\r\n", false, "余分なデータ"},
    };
    for (const Case& answer : cases) {
        ScriptedMailServer server;
        server.say("+OK ready\r\n")
            .answer("+OK\r\nSTLS\r\nUSER\r\n.\r\n")
            .answer(answer.stlsAnswer);
        if (answer.hangUp) {
            server.hangUp();
        }
        server.start();

        const MailboxCheck result = check(bareAddress(server));

        EXPECT_LT(result.count, 0);
        EXPECT_TRUE(result.error.contains(answer.errorPart)) << result.error.toStdString();
        // Neither a plain login nor a handshake went out.
        EXPECT_EQ(server.clientLines(), (Lines{"CAPA", "STLS"}));
    }
}

TEST(Pop3ScriptedStls, BareHostWithoutStlsFailsBeforeAnyCredentialIsSent) {
    for (const QByteArray& capaAnswer :
         {QByteArray("+OK\r\nUSER\r\nPIPELINING\r\n.\r\n"), QByteArray("-ERR unknown\r\n")}) {
        for (Authentication authentication : {Authentication::UserPass, Authentication::Apop}) {
            ScriptedMailServer server;
            server.say("+OK ready <1.2@host>\r\n").answer(capaAnswer);
            server.start();

            const MailboxCheck result = check(bareAddress(server), "secret", authentication);

            EXPECT_LT(result.count, 0);
            EXPECT_TRUE(result.error.contains("暗号化")) << result.error.toStdString();
            EXPECT_TRUE(result.error.contains("「pop3://" + bareAddress(server) + "」"))
                << result.error.toStdString();
            EXPECT_EQ(server.clientLines(), Lines{"CAPA"}) << capaAnswer.toStdString();
        }
    }
}

TEST(Pop3ScriptedLimits, CapabilityListOfMoreThan4KiBEndsTheSessionBeforeLogin) {
    struct Case {
        qsizetype listSize;
        int count;
        QString errorPart;
        Lines clientLines;
    };
    const Case cases[] = {
        {4096, 0, "", {"CAPA", "USER alice", "PASS secret", "STAT", "QUIT"}},
        {4097, -1, "上限", {"CAPA"}},
    };
    for (const Case& capa : cases) {
        ScriptedMailServer server;
        const QByteArray filler(capa.listSize - 8, 'X');
        loggedIn(server, "USER\r\n" + filler + "\r\n", 0).answer("+OK bye\r\n");
        server.start();

        const MailboxCheck result = check(server.address());

        EXPECT_EQ(result.count, capa.count) << capa.listSize;
        EXPECT_TRUE(result.error.contains(capa.errorPart)) << result.error.toStdString();
        EXPECT_EQ(server.clientLines(), capa.clientLines);
    }
}

TEST(Pop3ScriptedLimits, ServerThatDripsBytesIsCutOffAtTheSessionDeadline) {
    ScriptedMailServer server;
    // A byte every 100 ms for 10 s, never ending the line: each byte restarts
    // the 400 ms reply time-out, only the deadline ends the session.
    server.say("+OK ");
    for (int drip = 0; drip < 100; ++drip) {
        server.pause(100).say("x");
    }
    server.start();
    Pop3Options options = fastOptions();
    options.sessionDeadlineMs = 1000;
    // Stands for the window: its events go on while the check waits.
    QTimer window;
    int windowEvents = 0;
    QObject::connect(&window, &QTimer::timeout, [&] { ++windowEvents; });
    window.start(50);

    const MailboxCheck result =
        check(server.address(), "secret", Authentication::UserPass, options);

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("制限時間")) << result.error.toStdString();
    EXPECT_TRUE(server.clientLines().isEmpty());
    EXPECT_GT(windowEvents, 0);
}

// Once the application quits, nested event loops return at once; the waits must
// still sleep and time out instead of spinning until the deadline.
TEST(Pop3ScriptedLimits, WaitsStillTimeOutWhileTheApplicationIsQuitting) {
    ScriptedMailServer server; // accepts and never greets
    server.start();
    Pop3Options options = fastOptions();
    options.sessionDeadlineMs = 60000;
    QCoreApplication::exit(0);

    const MailboxCheck result =
        check(server.address(), "secret", Authentication::UserPass, options);

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("応答がありません")) << result.error.toStdString();
    // Leave the application able to run event loops again.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
}

// A POP3 session that counts the fetches a check makes through it.
class CountingSession : public MailSession {
public:
    explicit CountingSession(std::unique_ptr<MailSession> session) : session_(std::move(session)) {}
    std::variant<int, MailError> logIn(const QString& id, const QString& password,
                                       Authentication authentication) override {
        return session_->logIn(id, password, authentication);
    }
    std::optional<MailHeader> header(int number) override { return session_->header(number); }
    std::optional<qint64> size(int number) override { return session_->size(number); }
    std::optional<QByteArray> fetch(int number) override {
        ++fetches;
        return session_->fetch(number);
    }
    bool isOpen() const override { return session_->isOpen(); }
    int fetches = 0;

private:
    std::unique_ptr<MailSession> session_;
};

// Logs in as alice and reads the messages as a check does; the count.
int readAsACheck(CountingSession& session) {
    const int count = std::get<int>(session.logIn("alice", "secret", Authentication::UserPass));
    readMessages(session, count);
    return count;
}

constexpr int largestCount = std::numeric_limits<int>::max();

TEST(Pop3ScriptedLimits, HugeCountFromAServerThatIsGoneEndsTheFetchAtOnce) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\n", largestCount).hangUp();
    server.start();

    auto session =
        std::make_unique<CountingSession>(Pop3MailClient(fastOptions()).open(server.address()));
    EXPECT_EQ(readAsACheck(*session), largestCount);
    EXPECT_EQ(session->fetches, 1);
}

TEST(Pop3ScriptedLimits, HugeCountAnsweredWithErrorsFetchesAtMostTheLimit) {
    ScriptedMailServer server;
    loggedIn(server, "USER\r\n", largestCount).answerEveryLine("-ERR no such message\r\n");
    server.start();

    auto session =
        std::make_unique<CountingSession>(Pop3MailClient(fastOptions()).open(server.address()));
    EXPECT_EQ(readAsACheck(*session), largestCount);
    EXPECT_EQ(session->fetches, MaxMessagesFetched);
    session.reset(); // says QUIT
    const Lines lines = server.clientLines();
    EXPECT_EQ(lines.size(), 4 + 3 * MaxMessagesFetched + 1);
    EXPECT_EQ(lines.value(lines.size() - 2), "RETR " + QByteArray::number(MaxMessagesFetched));
    EXPECT_EQ(lines.last(), "QUIT");
}

TEST(Pop3ScriptedLimits, PipelinedWindowAtTheLargestCountEndsAtTheLastMessage) {
    const int last = largestCount;
    ScriptedMailServer server;
    loggedIn(server, "USER\r\nPIPELINING\r\n", last);
    server.hear(6);
    for (int number : {last - 1, last}) {
        for (const QByteArray& answer : answersFor(number)) {
            server.say(answer);
        }
    }
    server.answer("+OK bye\r\n");
    server.start();

    std::unique_ptr<MailSession> session = Pop3MailClient(fastOptions()).open(server.address());
    ASSERT_NE(session, nullptr);
    ASSERT_EQ(std::get<int>(session->logIn("alice", "secret", Authentication::UserPass)), last);
    EXPECT_EQ(session->fetch(last - 1), message(last - 1));
    session.reset(); // says QUIT
    EXPECT_EQ(server.clientLines().mid(4),
              (Lines{"TOP 2147483646 0", "LIST 2147483646", "RETR 2147483646", "TOP 2147483647 0",
                     "LIST 2147483647", "RETR 2147483647", "QUIT"}));
}

TEST(Pop3ScriptedConnect, AddressThatDropsPacketsLetsTheNextOneConnect) {
    ScriptedMailServer server;
    server.say("+OK ready\r\n");
    server.start();
    // 127.0.0.2 on the same port with a full backlog: the kernel drops further
    // connection requests, as a broken route would.
    const int blackHole = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int queued = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(server.port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK + 1);
    ASSERT_EQ(::bind(blackHole, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(blackHole, 0), 0);
    ASSERT_EQ(::connect(queued, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    TcpConnector connector(30000, 100, 8);
    const int socket = connector.connect(
        {QHostAddress(QStringLiteral("127.0.0.2")), QHostAddress(QStringLiteral("127.0.0.1"))},
        server.port(), QDeadlineTimer(60000));

    ASSERT_GE(socket, 0) << std::strerror(connector.lastError());
    pollfd readable{socket, POLLIN, 0};
    ASSERT_EQ(::poll(&readable, 1, 10000), 1);
    char greeting[16] = {};
    EXPECT_EQ(::recv(socket, greeting, sizeof greeting - 1, 0), 11);
    EXPECT_STREQ(greeting, "+OK ready\r\n");
    for (int open : {socket, queued, blackHole}) {
        ::close(open);
    }
}

TEST(Pop3ScriptedOpen, RefusedConnectionOrBadServerNameOpensNoSession) {
    const int closed = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(closed, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(closed, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(closed); // nobody listens on this port now

    Pop3MailClient client(fastOptions());
    EXPECT_EQ(client.open(QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port))), nullptr);
    EXPECT_EQ(client.open(QStringLiteral("[::1")), nullptr);
}

} // namespace
} // namespace brindle::test
