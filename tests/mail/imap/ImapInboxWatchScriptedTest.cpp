#include "mail/imap/ImapInboxWatch.h"
#include "mail/imap/ImapWatchHandle.h"
#include "support/ScriptedMailServer.h"

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
std::shared_ptr<ImapInboxWatch> watchWithoutNews(const ScriptedMailServer& server, int retryFirstMs) {
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

} // namespace
} // namespace brindle::test
