#include "mail/imap/ImapInboxWatch.h"
#include "mail/imap/ImapWatchHandle.h"
#include "support/ScriptedMailServer.h"
#include "support/TrustedTls.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace brindle::test {
namespace {

using Lines = QList<QByteArray>;

// Runs events until done() holds or 5 s have passed; whether it held.
template <typename Done> bool runEventsUntil(Done done) {
    const QDeadlineTimer limit(5000);
    QTimer look; // wakes the wait to look at done()
    look.start(50);
    while (!done() && !limit.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

ImapOptions fastOptions() {
    ImapOptions options;
    options.connectTimeoutMs = 2000;
    options.replyTimeoutMs = 2000;
    return options;
}

// Greeting, capabilities, LOGIN and EXAMINE finding two messages.
ScriptedMailServer& examined(ScriptedMailServer& server, const QByteArray& capabilities) {
    return server.say("* OK ready\r\n")
        .answer("* CAPABILITY " + capabilities + "\r\na1 OK done\r\n")
        .answer("a2 OK logged in\r\n")
        .answer("* FLAGS (\\Seen)\r\n* 2 EXISTS\r\n* 0 RECENT\r\na3 OK [READ-ONLY] done\r\n");
}

MailServerAddress plainImap(const ScriptedMailServer& server) {
    return {MailProtocol::Imap, QStringLiteral("127.0.0.1"), server.port(),
            TransportSecurity::PlainOnly};
}

// A watch that must never tell of new mail, trying again first after retryFirstMs.
std::shared_ptr<ImapInboxWatch> watchWithoutNews(const ScriptedMailServer& server,
                                                 int retryFirstMs) {
    ImapOptions options = fastOptions();
    options.retryFirstMs = retryFirstMs;
    return std::make_shared<ImapInboxWatch>(plainImap(server), QStringLiteral("alice"),
                                            QStringLiteral("secret"), options,
                                            [] { ADD_FAILURE() << "no new mail was told"; });
}

TEST(ImapInboxWatch, TellsOfEachGrowthOfTheCountAndRenewsIdle) {
    ScriptedMailServer server;
    examined(server, "IMAP4rev1 IDLE")
        .answer("+ idling\r\n")
        .say("* 3 EXISTS\r\n") // new mail
        .pause(200)
        .say("* 1 EXPUNGE\r\n* 2 EXISTS\r\n") // one gone, none new
        .say("* OK still here\r\n")
        .answer("* 3 EXISTS\r\na4 OK idle done\r\n") // to DONE when renewed
        .answer("+ idling\r\n");
    server.start();
    ImapOptions options = fastOptions();
    options.idleRenewMs = 1000;
    int told = 0;
    auto watch =
        std::make_shared<ImapInboxWatch>(plainImap(server), QStringLiteral("alice"),
                                         QStringLiteral("secret"), options, [&] { ++told; });

    // Told of 3 and, once renewed, of 3 again after the expunge.
    EXPECT_TRUE(runEventsUntil([&] { return told == 2; })) << told;
    EXPECT_TRUE(watch->isIdling());
    watch.reset(); // hangs up, ending the server's record
    const Lines lines = server.clientLines().mid(0, 6);
    EXPECT_EQ(lines, (Lines{"a1 CAPABILITY", R"(a2 LOGIN "alice" "secret")", "a3 EXAMINE INBOX",
                            "a4 IDLE", "DONE", "a5 IDLE"}));
}

TEST(ImapInboxWatch, ServerWithoutIdleIsLeftAloneAfterLoggingOut) {
    ScriptedMailServer server;
    server.say("* OK ready\r\n")
        .answer("* CAPABILITY IMAP4rev1\r\na1 OK done\r\n")
        .answer("a2 OK logged in\r\n")
        .answer("* BYE\r\na3 OK bye\r\n");
    server.start();
    const auto watch = watchWithoutNews(server, 10);

    EXPECT_TRUE(runEventsUntil([&] { return watch->hasGivenUp(); }));
    EXPECT_EQ(server.clientLines(),
              (Lines{"a1 CAPABILITY", R"(a2 LOGIN "alice" "secret")", "a3 LOGOUT"}));
}

TEST(ImapInboxWatch, ServerHangingUpDuringIdleIsDroppedQuietlyAndTriedAgain) {
    ScriptedMailServer server;
    examined(server, "IMAP4rev1 IDLE").answer("+ idling\r\n").pause(200).hangUp();
    server.start();
    const auto watch = watchWithoutNews(server, 50);

    ASSERT_TRUE(runEventsUntil([&] { return watch->isIdling(); }));
    EXPECT_TRUE(runEventsUntil([&] { return !watch->isIdling(); }));
    EXPECT_FALSE(watch->hasGivenUp());
}

TEST(ImapInboxWatch, LettingGoDuringAWaitEndsTheWatchOnceTheWaitReturns) {
    ScriptedMailServer server;
    server.pause(300)
        .say("* OK ready\r\n")
        .answer("* CAPABILITY IMAP4rev1 IDLE\r\na1 OK done\r\n")
        .answer("a2 OK logged in\r\n");
    server.start();
    auto watch = std::make_shared<ImapInboxWatch>(
        plainImap(server), QStringLiteral("alice"), QStringLiteral("secret"), fastOptions(),
        [] { ADD_FAILURE() << "a stopped watch told of new mail"; });
    const std::weak_ptr<ImapInboxWatch> watched = watch;
    auto handle = std::make_unique<ImapWatchHandle>(std::move(watch));
    // Lets go while the watch waits for the greeting, inside its own step.
    QTimer::singleShot(100, [&] { handle.reset(); });

    EXPECT_TRUE(runEventsUntil([&] { return watched.expired(); }));
    EXPECT_EQ(server.clientLines(), (Lines{"a1 CAPABILITY", R"(a2 LOGIN "alice" "secret")"}));
}

// The scripted server over TLS, with a certificate the client trusts.
class ImapInboxWatchOverTls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tls_.isValid());
        server_.useTls(tls_.certificateFile(), tls_.keyFile());
    }
    std::shared_ptr<ImapInboxWatch> watch(const ImapOptions& options,
                                          std::function<void()> onNewMail) {
        const MailServerAddress address{MailProtocol::Imap, QStringLiteral("127.0.0.1"),
                                        server_.port(), TransportSecurity::ImplicitTls};
        return std::make_shared<ImapInboxWatch>(address, QStringLiteral("alice"),
                                                QStringLiteral("secret"), options,
                                                std::move(onNewMail));
    }

    TrustedTls tls_;
    ScriptedMailServer server_;
};

// The parameter: after a renewal, else with the first IDLE.
class NewsWithTheContinuation : public ImapInboxWatchOverTls,
                                public ::testing::WithParamInterface<bool> {};

// The news come as a TLS record of their own in the same write as "+ idling",
// and the server then stays quiet: the socket shows nothing more.
TEST_P(NewsWithTheContinuation, AreToldWithoutMoreFromTheServer) {
    examined(server_, "IMAP4rev1 IDLE").hear();
    if (GetParam()) {
        server_.say("+ idling\r\n").answer("a4 OK idle done\r\n").hear();
    }
    server_.sayAtOnce({"+ idling\r\n", "* 3 EXISTS\r\n"}).start();
    ImapOptions options = fastOptions();
    options.idleRenewMs = GetParam() ? 300 : 60000;
    int told = 0;
    const auto watching = watch(options, [&] { ++told; });

    EXPECT_TRUE(runEventsUntil([&] { return told == 1; }));
}

INSTANTIATE_TEST_SUITE_P(ImapInboxWatch, NewsWithTheContinuation, ::testing::Bool(),
                         [](const auto& tested) {
                             return tested.param ? "AfterARenewal" : "WithTheFirstIdle";
                         });

struct BackOffCase {
    const char* name;
    QList<int> upMs; // how long each connection stays in IDLE before BYE
    QList<int> waitsMs;
};

class BackOffAfterIdle : public ImapInboxWatchOverTls,
                         public ::testing::WithParamInterface<BackOffCase> {};

TEST_P(BackOffAfterIdle, WaitsDoubleUntilAConnectionHasStayedUp) {
    const QList<int>& upMs = GetParam().upMs;
    for (qsizetype client = 0; client < upMs.size(); ++client) {
        if (client > 0) {
            server_.nextClient();
        }
        examined(server_, "IMAP4rev1 IDLE").answer("+ idling\r\n").pause(upMs[client]);
        server_.say("* BYE\r\n");
    }
    server_.start();
    ImapOptions options = fastOptions();
    options.retryFirstMs = 100;
    options.retryMaxMs = 400;
    options.retryResetMs = 400;
    const auto watching = watch(options, [] {});

    QList<int> waits;
    for (int client = 1; client <= GetParam().upMs.size(); ++client) {
        ASSERT_TRUE(runEventsUntil([&] {
            return server_.clientCount() == client && !watching->isIdling();
        })) << client;
        waits << watching->retryWaitMs();
    }
    EXPECT_EQ(waits, GetParam().waitsMs);
}

INSTANTIATE_TEST_SUITE_P(
    ImapInboxWatch, BackOffAfterIdle,
    ::testing::Values(BackOffCase{"ServerThatKeepsDropping", {0, 0, 0, 0}, {100, 200, 400, 400}},
                      BackOffCase{"ConnectionThatStayedUp", {0, 0, 1000, 0}, {100, 200, 100, 200}}),
    [](const auto& tested) { return tested.param.name; });

} // namespace
} // namespace brindle::test
