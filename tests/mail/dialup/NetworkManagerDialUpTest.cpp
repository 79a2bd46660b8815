#include "mail/dialup/NetworkManagerDialUp.h"

#include "FakeNetworkManager.h"
#include "support/PrivateBus.h"
#include "StandInNetworkManager.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

using test::FakeNetworkManager;

class NetworkManagerDialUpTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus_.connection().isConnected()); }

    // Starts the stand-in service with these active connections, in listing order.
    void serve(const QStringList& types, const QString& listReply = QStringLiteral("paths")) {
        ASSERT_TRUE(service_.start(bus_.address(), types, listReply));
    }

    QStringList deactivated() const { return service_.deactivated(); }

    // What the main window does: list the active links, then hang up each in order.
    void hangUpAll() {
        const auto ids = dialUp_.active();
        ASSERT_TRUE(ids.has_value());
        for (const QString& id : *ids) {
            dialUp_.hangUp(id);
        }
    }

    static QString active(qsizetype number) { return FakeNetworkManager::activePath(number); }

    test::PrivateBus bus_;
    test::StandInNetworkManager service_;
    NetworkManagerDialUp dialUp_{bus_.connection()};
};

// The stand-in numbers connections from the last listed up: with four listed,
// the first is number 4.
TEST_F(NetworkManagerDialUpTest, HangsUpOnlyDialUpConnectionsFirstListedFirst) {
    serve({"gsm", "802-3-ethernet", "pppoe", "802-3-ethernet"});
    EXPECT_EQ(dialUp_.active(), QStringList({active(4), active(2)}));

    hangUpAll();
    EXPECT_EQ(deactivated(), QStringList({active(4), active(2)}));
    EXPECT_EQ(dialUp_.active(), QStringList());
}

TEST_F(NetworkManagerDialUpTest, BluetoothCountsOnlyWithTheDialUpProfile) {
    serve({"bluetooth:panu", "cdma", "bluetooth:dun", "adsl", "802-11-wireless"});
    hangUpAll();
    EXPECT_EQ(deactivated(), QStringList({active(4), active(3), active(2)}));
}

TEST_F(NetworkManagerDialUpTest, LeavesOutAConnectionThatVanishedMeanwhile) {
    serve({"gsm", "vanished", "pppoe"});
    EXPECT_EQ(dialUp_.active(), QStringList({active(3), active(1)}));
}

TEST_F(NetworkManagerDialUpTest, NoActiveConnectionHangsUpNothing) {
    serve({});
    hangUpAll();
    EXPECT_EQ(deactivated(), QStringList());
}

TEST_F(NetworkManagerDialUpTest, UnreadableListGivesNothingToHangUp) {
    EXPECT_EQ(dialUp_.active(), std::nullopt) << "service not on the bus";

    serve({"gsm"}, QStringLiteral("error"));
    EXPECT_EQ(dialUp_.active(), std::nullopt) << "service answers with an error";
}

TEST_F(NetworkManagerDialUpTest, ListOfTheWrongTypeGivesNothingToHangUp) {
    serve({"gsm"}, QStringLiteral("numbers"));
    EXPECT_EQ(dialUp_.active(), std::nullopt);
}

// Waits out the call time-out of a few seconds.
TEST_F(NetworkManagerDialUpTest, ServiceThatNeverAnswersGivesNothingToHangUp) {
    serve({"gsm"}, QStringLiteral("silence"));
    EXPECT_EQ(dialUp_.active(), std::nullopt);
}

TEST_F(NetworkManagerDialUpTest, HandleThatIsNoObjectPathIsRefused) {
    serve({"gsm"});
    dialUp_.hangUp(QStringLiteral("not a path"));
    dialUp_.hangUp(active(1));
    EXPECT_EQ(deactivated(), QStringList({active(1)}));
}

TEST(NetworkManagerDialUpWithoutBus, GivesNullopt) {
    NetworkManagerDialUp dialUp(QDBusConnection(QStringLiteral("no-such-connection")));
    EXPECT_EQ(dialUp.active(), std::nullopt);
    dialUp.hangUp(QStringLiteral("/org/freedesktop/NetworkManager/ActiveConnection/1"));
}

} // namespace
} // namespace brindle
