#include "mail/PushWatching.h"
#include "mail/ReadMessages.h"
#include "mail/imap/ImapOptions.h"
#include "mail/pop3/Pop3Options.h"
#include "signin/BrowserAuthorization.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// The limits users get; the other tests pass options of their own, so a
// change to these shows only here.
TEST(ShippedLimits, AreTheOnesUsersGet) {
    const Pop3Options pop3;
    const ImapOptions imap;
    for (const ConnectionOptions* connection : {static_cast<const ConnectionOptions*>(&pop3),
                                                static_cast<const ConnectionOptions*>(&imap)}) {
        EXPECT_EQ(connection->lookupTimeoutMs, 10 * 1000);
        EXPECT_EQ(connection->connectTimeoutMs, 10 * 1000);
        EXPECT_EQ(connection->sessionDeadlineMs, 3 * 60 * 1000);
    }
    EXPECT_EQ(MaxMessagesFetched, 1000);
    EXPECT_EQ(pop3.maxCapabilityListSize, 4 * 1024);
    EXPECT_EQ(imap.replyLimits.maxLineLength, 64 * 1024);
    EXPECT_EQ(imap.idleRenewMs, 25 * 60 * 1000);
    EXPECT_EQ(PushWatching::defaultSpacingMs, 3 * 1000);
    EXPECT_EQ(imap.retryFirstMs, 5 * 1000);
    EXPECT_EQ(imap.retryMaxMs, 15 * 60 * 1000);
    EXPECT_EQ(imap.retryResetMs, 60 * 1000);
    EXPECT_EQ(BrowserAuthorization::BrowserLimitMs, 5 * 60 * 1000);
}

} // namespace
} // namespace brindle::test
