#include "mail/header/MailHeaderFields.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

TEST(MailHeaderFields, TakesTheFirstOfEachFieldUnfoldedAndStopsAtTheBody) {
    const MailHeader status = readMailHeaderFields("Received: x\r\n"
                                                   "SUBJECT: a long\r\n"
                                                   "\tsubject\r\n"
                                                   "From: Alice <a@example.jp>\r\n"
                                                   "To: b@example.jp\r\n"
                                                   "Subject: second\r\n"
                                                   "Date: Mon, 1 Jan 2024 00:00:00 +0900\n"
                                                   "\r\n"
                                                   "To: not a header\r\n");
    EXPECT_EQ(status.subject, "a long subject");
    EXPECT_EQ(status.from, "Alice <a@example.jp>");
    EXPECT_EQ(status.to, "b@example.jp");
    EXPECT_EQ(status.date, "Mon, 1 Jan 2024 00:00:00 +0900");
}

TEST(MailHeaderFields, HeaderWithoutBodyAndMalformedLinesGiveWhatIsThere) {
    const MailHeader status = readMailHeaderFields("no colon here\r\nSubject:x");
    EXPECT_EQ(status.subject, "x");
    EXPECT_TRUE(status.from.isEmpty());
}

} // namespace
} // namespace brindle::test
