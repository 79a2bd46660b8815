#include "ScriptedPop3Server.h"
#include "mail/pop3/Pop3MailLib.h"
#include "mail/pop3/TcpConnector.h"

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
ScriptedPop3Server& loggedIn(ScriptedPop3Server& server, const QByteArray& capabilities,
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

struct CheckResult {
    int count = 0;
    QString error;
    QList<QByteArray> messages;
    QStringList subjects;
};

// The sequence of one mail check: connect, log in, status, size and message
// of each, close.
CheckResult check(const QString& server, const QString& password = QStringLiteral("secret"),
                  int apopFlag = 0, const Pop3Options& options = fastOptions()) {
    Pop3MailLib lib(options);
    CheckResult result;
    const int handle = lib.MailLibPop3Connect(server);
    EXPECT_GE(handle, 0) << lib.MailLibGetMessage().toStdString();
    result.count = lib.MailLibPop3Authenticate(handle, QStringLiteral("alice"), password, apopFlag);
    for (int number = 1; number <= result.count; ++number) {
        MailStatus status;
        QByteArray body;
        lib.MailLibPop3GetMailStatus(handle, number, status);
        result.subjects.append(status.subject);
        lib.MailLibPop3GetMailSize(handle, number);
        if (lib.MailLibPop3GetMail(handle, number, status, body) == 0) {
            result.messages.append(body);
        }
    }
    result.error = lib.MailLibGetMessage();
    lib.MailLibPop3Close(handle);
    return result;
}

// Logs in and fetches only message 1, skipping its status and size.
struct FirstMessage {
    int result = -1;
    QByteArray body;
    QString subject;
};

FirstMessage fetchFirstMessageOnly(const QString& server) {
    Pop3MailLib lib(fastOptions());
    FirstMessage first;
    const int handle = lib.MailLibPop3Connect(server);
    EXPECT_EQ(lib.MailLibPop3Authenticate(handle, "alice", "secret", 0), 1);
    MailStatus status;
    first.result = lib.MailLibPop3GetMail(handle, 1, status, first.body);
    first.subject = status.subject;
    lib.MailLibPop3Close(handle);
    return first;
}

TEST(Pop3ScriptedLogin, UserPassWithoutPipeliningWaitsForEachAnswer) {
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\nTOP\r\n", 2);
    for (int number : {1, 2}) {
        for (const QByteArray& answer : answersFor(number)) {
            server.answer(answer);
        }
    }
    server.answer("+OK bye\r\n");
    server.start();

    const CheckResult result = check(server.address());

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
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\nTOP\r\nPIPELINING\r\n", 2);
    server.hear(6); // answers only once all six commands have arrived
    for (int number : {1, 2}) {
        for (const QByteArray& answer : answersFor(number)) {
            server.say(answer);
        }
    }
    server.answer("+OK bye\r\n");
    server.start();

    const CheckResult result = check(server.address());

    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.messages, (QList{message(1), message(2)}));
    EXPECT_EQ(server.clientLines(),
              (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0", "LIST 1", "RETR 1",
                     "TOP 2 0", "LIST 2", "RETR 2", "QUIT"}));
    EXPECT_EQ(server.repliesBeforeEachLine(), (QList{1, 2, 3, 4, 5, 5, 5, 5, 5, 5, 11}));
}

TEST(Pop3ScriptedLogin, PipelinedAnswersTheCallerSkippedAreReadAndDropped) {
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\nPIPELINING\r\n", 1);
    server.hear(3);
    for (const QByteArray& answer : answersFor(1)) {
        server.say(answer);
    }
    server.answer("+OK bye\r\n");
    server.start();

    const FirstMessage first = fetchFirstMessageOnly(server.address());
    EXPECT_EQ(first.result, 0);
    EXPECT_EQ(first.body, message(1));
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "TOP 1 0",
                                           "LIST 1", "RETR 1", "QUIT"}));
}

TEST(Pop3ScriptedLogin, PlainSchemeNeverStartsTlsEvenWhenOffered) {
    ScriptedPop3Server server;
    loggedIn(server, "STLS\r\nUSER\r\n", 0).answer("+OK bye\r\n");
    server.start();

    EXPECT_EQ(check(server.address()).count, 0);
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "QUIT"}));
}

TEST(Pop3ScriptedLogin, ApopSendsTheDigestOfTimestampAndPasswordAndKeepsTheServersRefusal) {
    ScriptedPop3Server server;
    server.say("+OK POP3 server ready <1896.697170952@dbc.mtview.ca.us>\r\n")
        .answer("-ERR unknown command\r\n")
        .answer("-ERR [AUTH] Authentication failed.\r\n");
    server.start();

    Pop3MailLib lib(fastOptions());
    const int handle = lib.MailLibPop3Connect(server.address());
    const int count = lib.MailLibPop3Authenticate(handle, "mrose", "tanstaaf", -1);

    EXPECT_LT(count, 0);
    EXPECT_TRUE(lib.MailLibGetMessage().contains("[AUTH] Authentication failed."))
        << lib.MailLibGetMessage().toStdString();
    lib.MailLibPop3Close(handle);
    // The digest of "<1896.697170952@dbc.mtview.ca.us>tanstaaf" given in RFC 1939.
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA", "APOP mrose c4c9334bac560ecc979e58001b3e22fb"}));
}

TEST(Pop3ScriptedLogin, ApopWithoutTimestampFailsWithoutSendingThePassword) {
    ScriptedPop3Server server;
    server.say("+OK ready\r\n").answer("+OK\r\nUSER\r\n.\r\n");
    server.start();

    const CheckResult result = check(server.address(), "secret", -1);

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("タイムスタンプ")) << result.error.toStdString();
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA"}));
}

TEST(Pop3ScriptedLogin, PasswordNeverAppearsInTheErrorText) {
    ScriptedPop3Server server;
    server.say("+OK ready\r\n")
        .answer("+OK\r\nUSER\r\n.\r\n")
        .answer("+OK\r\n")
        .answer("-ERR wrong password s3cr3t for alice\r\n");
    server.start();

    const CheckResult result = check(server.address(), "s3cr3t");

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("wrong password")) << result.error.toStdString();
    EXPECT_FALSE(result.error.contains("s3cr3t")) << result.error.toStdString();
}

TEST(Pop3ScriptedLogin, ServerThatHangsUpAfterStlsEndsTheSessionWithoutPlainLogin) {
    ScriptedPop3Server server;
    server.say("+OK ready\r\n")
        .answer("+OK\r\nSTLS\r\nUSER\r\n.\r\n")
        .answer("+OK begin TLS\r\n")
        .hangUp();
    server.start();

    const CheckResult result = check(QStringLiteral("127.0.0.1:%1").arg(server.port()));

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("TLS")) << result.error.toStdString();
    EXPECT_EQ(server.clientLines(), (Lines{"CAPA", "STLS"}));
}

TEST(Pop3ScriptedFaults, GreetingNeverSentTimesOut) {
    ScriptedPop3Server server;
    server.start();

    const CheckResult result = check(server.address());

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("応答がありません")) << result.error.toStdString();
    EXPECT_TRUE(server.clientLines().isEmpty());
}

TEST(Pop3ScriptedFaults, EndlessLineIsAProtocolError) {
    ScriptedPop3Server server;
    server.say("+OK " + QByteArray(100 * 1024, 'x'));
    server.start();

    const CheckResult result = check(server.address());

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("長すぎ")) << result.error.toStdString();
}

TEST(Pop3ScriptedFaults, ReplyCutInTheMiddleOfAMessageEndsWithAnError) {
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\n", 1);
    server.answer(answersFor(1).at(0))
        .answer(answersFor(1).at(1))
        .answer("+OK\r\nSubject: message 1\r\n\r\nthe first half of")
        .hangUp();
    server.start();

    Pop3MailLib lib(fastOptions());
    const int handle = lib.MailLibPop3Connect(server.address());
    ASSERT_EQ(lib.MailLibPop3Authenticate(handle, "alice", "secret", 0), 1);
    MailStatus status;
    QByteArray body;
    EXPECT_EQ(lib.MailLibPop3GetMailStatus(handle, 1, status), 0);
    EXPECT_GT(lib.MailLibPop3GetMailSize(handle, 1), 0);
    EXPECT_LT(lib.MailLibPop3GetMail(handle, 1, status, body), 0);
    EXPECT_TRUE(lib.MailLibGetMessage().contains("切")) << lib.MailLibGetMessage().toStdString();
    // The session is over; further calls fail quietly.
    EXPECT_LT(lib.MailLibPop3GetMailStatus(handle, 1, status), 0);
    EXPECT_EQ(lib.MailLibPop3Close(handle), 0);
}

TEST(Pop3ScriptedFaults, ImplausibleListSizesAreRefused) {
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\n", 2);
    server.answer("+OK 1 1099511627776\r\n").answer("+OK 2 -5\r\n").answer("+OK bye\r\n");
    server.start();

    Pop3MailLib lib(fastOptions());
    const int handle = lib.MailLibPop3Connect(server.address());
    ASSERT_EQ(lib.MailLibPop3Authenticate(handle, "alice", "secret", 0), 2);
    EXPECT_LT(lib.MailLibPop3GetMailSize(handle, 1), 0);
    EXPECT_TRUE(lib.MailLibGetMessage().contains("1099511627776"));
    EXPECT_LT(lib.MailLibPop3GetMailSize(handle, 2), 0);
    lib.MailLibPop3Close(handle);
    EXPECT_EQ(server.clientLines(),
              (Lines{"CAPA", "USER alice", "PASS secret", "STAT", "LIST 1", "LIST 2", "QUIT"}));
}

TEST(Pop3ScriptedFaults, DotStuffingIsUndoneAcrossReads) {
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\n", 1);
    server.hear().say("+OK\r\nSubject: d\r\n\r\n..lead").pause(50);
    for (const char* piece : {"ing\r\n.", ".\r\n", "..", "x\r\n.", "\r", "\n"}) {
        server.say(piece).pause(50);
    }
    server.answer("+OK bye\r\n");
    server.start();

    const FirstMessage first = fetchFirstMessageOnly(server.address());
    EXPECT_EQ(first.result, 0);
    EXPECT_EQ(first.body, QByteArray("Subject: d\r\n\r\n.leading\r\n.\r\n.x\r\n"));
    EXPECT_EQ(first.subject, "d");
}

QString bareAddress(const ScriptedPop3Server& server) {
    return QStringLiteral("127.0.0.1:%1").arg(server.port());
}

TEST(Pop3ScriptedStls, BareHostWithoutStlsFailsBeforeAnyCredentialIsSent) {
    for (const QByteArray& capaAnswer :
         {QByteArray("+OK\r\nUSER\r\nPIPELINING\r\n.\r\n"), QByteArray("-ERR unknown\r\n")}) {
        for (int apopFlag : {0, -1}) {
            ScriptedPop3Server server;
            server.say("+OK ready <1.2@host>\r\n").answer(capaAnswer);
            server.start();

            const CheckResult result = check(bareAddress(server), "secret", apopFlag);

            EXPECT_LT(result.count, 0);
            EXPECT_TRUE(result.error.contains("暗号化")) << result.error.toStdString();
            EXPECT_TRUE(result.error.contains("「pop3://" + bareAddress(server) + "」"))
                << result.error.toStdString();
            EXPECT_EQ(server.clientLines(), Lines{"CAPA"}) << capaAnswer.toStdString();
        }
    }
}

TEST(Pop3ScriptedLimits, CapabilityFloodEndsTheSessionBeforeLogin) {
    ScriptedPop3Server server;
    QByteArray flood = "+OK\r\n";
    while (flood.size() < 100 * 1024) {
        flood += "X-CAPABILITY-" + QByteArray::number(flood.size()) + "\r\n";
    }
    server.say("+OK ready\r\n").answer(flood + ".\r\n");
    server.start();

    const CheckResult result = check(server.address());

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("上限")) << result.error.toStdString();
    EXPECT_EQ(server.clientLines(), Lines{"CAPA"});
}

TEST(Pop3ScriptedLimits, ServerThatDripsBytesIsCutOffAtTheSessionDeadline) {
    ScriptedPop3Server server;
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

    const CheckResult result = check(server.address(), "secret", 0, options);

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("制限時間")) << result.error.toStdString();
    EXPECT_TRUE(server.clientLines().isEmpty());
    EXPECT_GT(windowEvents, 0);
}

// Once the application quits, nested event loops return at once; the waits must
// still sleep and time out instead of spinning until the deadline.
TEST(Pop3ScriptedLimits, WaitsStillTimeOutWhileTheApplicationIsQuitting) {
    ScriptedPop3Server server; // accepts and never greets
    server.start();
    Pop3Options options = fastOptions();
    options.sessionDeadlineMs = 60000;
    QCoreApplication::exit(0);

    const CheckResult result = check(server.address(), "secret", 0, options);

    EXPECT_LT(result.count, 0);
    EXPECT_TRUE(result.error.contains("応答がありません")) << result.error.toStdString();
    // Leave the application able to run event loops again.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
}

// Counts the fetch calls a check makes through the mail library.
class CountingPop3MailLib : public Pop3MailLib {
public:
    using Pop3MailLib::Pop3MailLib;
    int MailLibPop3GetMail(int handle, int number, MailStatus& status,
                           QByteArray& message) override {
        ++fetches;
        return Pop3MailLib::MailLibPop3GetMail(handle, number, status, message);
    }
    int fetches = 0;
};

constexpr int largestCount = std::numeric_limits<int>::max();

TEST(Pop3ScriptedLimits, HugeCountFromAServerThatIsGoneEndsTheFetchAtOnce) {
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\n", largestCount).hangUp();
    server.start();

    CountingPop3MailLib lib(fastOptions());
    const int handle = lib.MailLibPop3Connect(server.address());
    const int count = lib.MailLibPop3Authenticate(handle, "alice", "secret", 0);
    FetchMessages(lib, handle, count);
    lib.MailLibPop3Close(handle);

    EXPECT_EQ(count, largestCount);
    EXPECT_EQ(lib.fetches, 1);
}

TEST(Pop3ScriptedLimits, HugeCountAnsweredWithErrorsFetchesAtMostTheLimit) {
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\n", largestCount).answerEveryLine("-ERR no such message\r\n");
    server.start();

    CountingPop3MailLib lib(fastOptions());
    const int handle = lib.MailLibPop3Connect(server.address());
    const int count = lib.MailLibPop3Authenticate(handle, "alice", "secret", 0);
    FetchMessages(lib, handle, count);
    lib.MailLibPop3Close(handle);

    EXPECT_EQ(count, largestCount);
    EXPECT_EQ(lib.fetches, MaxMessagesFetched);
    const Lines lines = server.clientLines();
    EXPECT_EQ(lines.size(), 4 + 3 * MaxMessagesFetched + 1);
    EXPECT_EQ(lines.value(lines.size() - 2), "RETR " + QByteArray::number(MaxMessagesFetched));
    EXPECT_EQ(lines.last(), "QUIT");
}

TEST(Pop3ScriptedLimits, PipelinedWindowAtTheLargestCountEndsAtTheLastMessage) {
    const int last = largestCount;
    ScriptedPop3Server server;
    loggedIn(server, "USER\r\nPIPELINING\r\n", last);
    server.hear(6);
    for (int number : {last - 1, last}) {
        for (const QByteArray& answer : answersFor(number)) {
            server.say(answer);
        }
    }
    server.answer("+OK bye\r\n");
    server.start();

    Pop3MailLib lib(fastOptions());
    const int handle = lib.MailLibPop3Connect(server.address());
    ASSERT_EQ(lib.MailLibPop3Authenticate(handle, "alice", "secret", 0), last);
    MailStatus status;
    QByteArray body;
    EXPECT_EQ(lib.MailLibPop3GetMail(handle, last - 1, status, body), 0);
    EXPECT_EQ(body, message(last - 1));
    lib.MailLibPop3Close(handle);
    EXPECT_EQ(server.clientLines().mid(4),
              (Lines{"TOP 2147483646 0", "LIST 2147483646", "RETR 2147483646", "TOP 2147483647 0",
                     "LIST 2147483647", "RETR 2147483647", "QUIT"}));
}

TEST(Pop3ScriptedConnect, AddressThatDropsPacketsLetsTheNextOneConnect) {
    ScriptedPop3Server server;
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

TEST(Pop3ScriptedHandles, RefusedConnectionGivesMinusOneAndUnknownHandlesAreHarmless) {
    const int closed = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(closed, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(closed, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(closed); // nobody listens on this port now

    Pop3MailLib lib(fastOptions());
    EXPECT_EQ(lib.MailLibPop3Connect(QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port))),
              -1);
    EXPECT_FALSE(lib.MailLibGetMessage().isEmpty());
    EXPECT_EQ(lib.MailLibPop3Connect(QStringLiteral("[::1")), -1);
    EXPECT_EQ(lib.MailLibPop3Close(7), -1);
    EXPECT_LT(lib.MailLibPop3Authenticate(7, "alice", "secret", 0), 0);
}

} // namespace
} // namespace brindle::test
