#include "mail/imap/ImapReplyReader.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

using Kind = ImapResponse::Kind;
using Result = ImapReplyReader::Result;

// Every response of input, fed one byte at a time; stops at the first error.
QList<ImapResponse> takeAllByteByByte(const QByteArray& input,
                                      const ImapReplyReader::Limits& limits = {},
                                      Result* last = nullptr) {
    ImapReplyReader reader(limits);
    QList<ImapResponse> taken;
    Result result = Result::NeedMore;
    for (char byte : input) {
        reader.feed(&byte, 1);
        ImapResponse response;
        while ((result = reader.take(response)) == Result::Done) {
            taken.append(response);
        }
        if (result == Result::Error) {
            break;
        }
    }
    if (last != nullptr) {
        *last = result;
    }
    return taken;
}

TEST(ImapReplyReader, FramesTaggedUntaggedAndContinuationResponses) {
    const auto taken = takeAllByteByByte("* OK [CAPABILITY IMAP4rev1] ready\r\n"
                                         "+ \r\n"
                                         "+\r\n"
                                         "* 3 EXISTS\n"
                                         "a1 NO [AUTHENTICATIONFAILED] Authentication failed.\r\n"
                                         "* BYE shutting down\r\n");
    ASSERT_EQ(taken.size(), 6);
    EXPECT_EQ(taken[0].kind, Kind::Untagged);
    EXPECT_EQ(taken[0].word(0), "OK");
    EXPECT_EQ(taken[0].afterFirstWord(), "[CAPABILITY IMAP4rev1] ready");
    EXPECT_EQ(taken[1].kind, Kind::Continuation);
    EXPECT_EQ(taken[2].kind, Kind::Continuation);
    EXPECT_EQ(taken[3].word(0), "3");
    EXPECT_EQ(taken[3].word(1), "EXISTS");
    EXPECT_EQ(taken[4].kind, Kind::Tagged);
    EXPECT_EQ(taken[4].tag, "a1");
    EXPECT_EQ(taken[4].word(0), "NO");
    EXPECT_EQ(taken[4].afterFirstWord(), "[AUTHENTICATIONFAILED] Authentication failed.");
    EXPECT_EQ(taken[5].word(0), "BYE");
}

TEST(ImapReplyReader, LiteralsKeepTheirBytesApartFromTheText) {
    // The first literal holds a line end and text that would look like a
    // response of its own; the empty literal is legal too.
    const auto taken = takeAllByteByByte("* STATUS {13}\r\nIN\r\na1 OK BOX (UNSEEN 4)\r\n"
                                         "* LIST () \"/\" {0}\r\n\r\n");
    ASSERT_EQ(taken.size(), 2);
    EXPECT_EQ(taken[0].text, "STATUS {13} (UNSEEN 4)");
    EXPECT_EQ(taken[0].literals, QList<QByteArray>{"IN\r\na1 OK BOX"});
    EXPECT_EQ(taken[1].literals, QList<QByteArray>{""});
}

TEST(ImapReplyReader, BreachesOfTheFormOrTheLimitsAreErrors) {
    const ImapReplyReader::Limits small{64, 16, 100};
    const struct {
        QByteArray input;
        int takenBefore;
    } cases[] = {
        {"* OK\r\nno-blank\r\n", 1},
        {"a(1 OK\r\n", 0},
        {"a1 \r\n", 0},
        {"\r\n", 0},
        {QByteArray(80, 'x'), 0}, // no line end within the limit
        {"* X {17}\r\n", 0},      // literal above its limit
        // literals within their limit that together pass the response's
        {"* X" + QByteArray(" {16}\r\n0123456789abcdef").repeated(5), 0},
    };
    for (const auto& [input, takenBefore] : cases) {
        Result last = Result::NeedMore;
        EXPECT_EQ(takeAllByteByByte(input, small, &last).size(), takenBefore) << input.constData();
        EXPECT_EQ(last, Result::Error) << input.constData();
    }
}

TEST(ImapReplyReader, WaitsForTheWholeLiteralAndTellsOfUnreadInput) {
    ImapReplyReader reader({});
    reader.feed("* X {5}\r\nabc", 12);
    ImapResponse response;
    EXPECT_EQ(reader.take(response), Result::NeedMore);
    reader.feed("de\r\na1 OK\r\n", 11);
    ASSERT_EQ(reader.take(response), Result::Done);
    EXPECT_EQ(response.literals, QList<QByteArray>{"abcde"});
    EXPECT_TRUE(reader.hasUnreadInput());
    ASSERT_EQ(reader.take(response), Result::Done);
    EXPECT_EQ(response.tag, "a1");
    EXPECT_FALSE(reader.hasUnreadInput());
}

} // namespace
} // namespace brindle::test
