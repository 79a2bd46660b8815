#include "mail/PushWatching.h"
#include "mail/MailClient.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// Hands out watches that live as long as their holder keeps them and tell of
// new mail when the test says so.
class WatchingClient : public MailClient {
public:
    struct Watch : MailWatch {
        explicit Watch(WatchingClient& client) : client_(client) { ++client_.live; }
        ~Watch() override { --client_.live; }
        bool lostAccess() const override { return client_.accessLost; }
        WatchingClient& client_;
    };

    std::unique_ptr<MailSession> open(const QString&) override { return nullptr; }
    std::unique_ptr<MailWatch> watch(const MailAccess& access,
                                     std::function<void()> onNewMail) override {
        watched << access.server;
        tell = std::move(onNewMail);
        return access.server.startsWith(u"imap") ? std::make_unique<Watch>(*this) : nullptr;
    }

    QStringList watched;
    std::function<void()> tell;
    int live = 0;
    bool accessLost = false; // what every watch says
};

const MailAccess imapAccess{QStringLiteral("imaps://mail.example"), QStringLiteral("taro"),
                            QStringLiteral("secret")};

TEST(PushWatching, WatchesTheMailboxOfTheNextOrLastCheckOnlyWhileIntervalCheckingIsOn) {
    WatchingClient client;
    std::optional<MailAccess> next;
    PushWatching push(
        client, [] { return false; }, [&] { return next; });
    push.setIntervalOn(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(client.live, 0); // no account yet

    next = imapAccess;
    push.setIntervalOn(true);
    EXPECT_EQ(client.live, 0); // read from the event loop
    QCoreApplication::processEvents();
    push.useAccess(imapAccess); // a later check with the same account
    EXPECT_EQ(client.watched, QStringList{imapAccess.server});
    EXPECT_EQ(client.live, 1);

    push.useAccess({QStringLiteral("pop3.example"), QStringLiteral("taro"), QStringLiteral("x")});
    EXPECT_EQ(client.live, 0); // nothing to watch there
    EXPECT_FALSE(push.isWatching());

    push.useAccess(imapAccess);
    EXPECT_EQ(client.live, 1);
    push.setIntervalOn(false);
    EXPECT_EQ(client.live, 0);
    push.useAccess(imapAccess);
    EXPECT_EQ(client.live, 0);
}

TEST(PushWatching, WatchThatLostItsTokenIsMadeAnewOnlyAfterTheNextCheckLoggedIn) {
    WatchingClient client;
    PushWatching push(
        client, [] { return false; }, [] { return std::nullopt; });
    push.setIntervalOn(true);
    QCoreApplication::processEvents();
    push.useAccess(imapAccess);
    push.useAccess(imapAccess);
    EXPECT_EQ(client.watched.size(), 1);

    client.accessLost = true;
    QTest::qWait(100);
    EXPECT_EQ(client.watched.size(), 1); // nothing retries by itself
    push.useAccess(imapAccess);
    EXPECT_EQ(client.watched.size(), 2);
    EXPECT_EQ(client.live, 1);
}

TEST(PushWatching, NewsAskForOneCheckPerSpacingFromTheEventLoop) {
    WatchingClient client;
    PushWatching push(
        client, [] { return false; }, [] { return std::optional{imapAccess}; }, 60000);
    QSignalSpy checks(&push, &PushWatching::checkDue);
    push.setIntervalOn(true);
    push.useAccess(imapAccess);

    client.tell();
    EXPECT_EQ(checks.count(), 0); // not inside the watch's own reading
    EXPECT_TRUE(checks.wait(1000));
    client.tell();
    client.tell();
    QTest::qWait(200);
    EXPECT_EQ(checks.count(), 1);
}

TEST(PushWatching, NewsDuringARunningCheckAskAgainAfterIt) {
    WatchingClient client;
    bool checkRunning = true;
    PushWatching push(
        client, [&] { return checkRunning; }, [] { return std::optional{imapAccess}; }, 100);
    QSignalSpy checks(&push, &PushWatching::checkDue);
    push.setIntervalOn(true);
    push.useAccess(imapAccess);

    client.tell();
    QTest::qWait(300);
    EXPECT_EQ(checks.count(), 0);
    checkRunning = false;
    EXPECT_TRUE(checks.wait(1000));
}

} // namespace
} // namespace brindle::test
