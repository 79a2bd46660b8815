#include "mail/pop3/Pop3ReplyReader.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

using Result = Pop3ReplyReader::Result;

void feed(Pop3ReplyReader& reader, const QByteArray& input) {
    reader.feed(input.constData(), input.size());
}

// Feeds the input one byte at a time, taking the body as far as it goes.
QByteArray bodyFedByteByByte(const QByteArray& input, Pop3ReplyReader& reader) {
    QByteArray body;
    bool done = false;
    for (char byte : input) {
        reader.feed(&byte, 1);
        if (!done) {
            done = reader.takeBody(body, 1 << 20) == Result::Done;
        }
    }
    EXPECT_TRUE(done) << "the body never ended";
    return body;
}

TEST(Pop3ReplyReaderStatus, ReadsOkAndErrWithTheirTexts) {
    Pop3ReplyReader reader(1024);
    feed(reader, "+OK 2 320\r\n-ERR no such message\r\n+OK\r\n");
    Pop3ReplyReader::StatusLine line;
    ASSERT_EQ(reader.takeStatusLine(line), Result::Done);
    EXPECT_TRUE(line.ok);
    EXPECT_EQ(line.text, "2 320");
    ASSERT_EQ(reader.takeStatusLine(line), Result::Done);
    EXPECT_FALSE(line.ok);
    EXPECT_EQ(line.text, "no such message");
    ASSERT_EQ(reader.takeStatusLine(line), Result::Done);
    EXPECT_TRUE(line.ok);
    EXPECT_EQ(line.text, "");
    EXPECT_EQ(reader.takeStatusLine(line), Result::NeedMore);
    EXPECT_FALSE(reader.hasUnreadInput());
}

TEST(Pop3ReplyReaderStatus, AnythingElseIsAnError) {
    for (const QByteArray input : {"* OK hello\r\n", "+OKAY\r\n", "-ERROR\r\n", "\r\n"}) {
        Pop3ReplyReader reader(1024);
        feed(reader, input);
        Pop3ReplyReader::StatusLine line;
        EXPECT_EQ(reader.takeStatusLine(line), Result::Error) << input.constData();
        EXPECT_FALSE(reader.errorText().isEmpty());
    }
}

TEST(Pop3ReplyReaderStatus, LineLongerThanTheLimitIsAnErrorEvenBeforeItEnds) {
    Pop3ReplyReader reader(64);
    const QByteArray endless(100, 'x');
    feed(reader, endless);
    Pop3ReplyReader::StatusLine line;
    EXPECT_EQ(reader.takeStatusLine(line), Result::Error);
}

TEST(Pop3ReplyReaderBody, UndoesDotStuffingAndStopsAtTheLoneDotWhateverThePieces) {
    const QByteArray input = "Subject: x\r\n\r\n..one\r\n.\r\n" // the lone dot ends here
                             "+OK next\r\n";
    Pop3ReplyReader reader(1024);
    EXPECT_EQ(bodyFedByteByByte(input, reader), "Subject: x\r\n\r\n.one\r\n");
    Pop3ReplyReader::StatusLine next;
    EXPECT_EQ(reader.takeStatusLine(next), Result::Done);
    EXPECT_EQ(next.text, "next");
}

TEST(Pop3ReplyReaderBody, DoubledDotLinesAndDotsInsideLinesStay) {
    const QByteArray input = "a.b\r\n..\r\n...\r\n. x\r\n.\r\n";
    Pop3ReplyReader reader(1024);
    feed(reader, input);
    QByteArray body;
    ASSERT_EQ(reader.takeBody(body, 1024), Result::Done);
    EXPECT_EQ(body, "a.b\r\n.\r\n..\r\n x\r\n");
}

TEST(Pop3ReplyReaderBody, ContinuesAcrossCallsWithoutLosingBytes) {
    Pop3ReplyReader reader(1024);
    QByteArray body;
    feed(reader, "line one\r\nline t");
    EXPECT_EQ(reader.takeBody(body, 1024), Result::NeedMore);
    feed(reader, "wo\r\n.");
    EXPECT_EQ(reader.takeBody(body, 1024), Result::NeedMore);
    feed(reader, "\r\n");
    EXPECT_EQ(reader.takeBody(body, 1024), Result::Done);
    EXPECT_EQ(body, "line one\r\nline two\r\n");
}

TEST(Pop3ReplyReaderBody, BodyOverTheSizeLimitIsAnError) {
    Pop3ReplyReader reader(1024);
    const QByteArray input = QByteArray(40, 'x') + "\r\n" + QByteArray(40, 'y') + "\r\n.\r\n";
    feed(reader, input);
    QByteArray body;
    EXPECT_EQ(reader.takeBody(body, 60), Result::Error);
    EXPECT_LE(body.size(), 60);
}

} // namespace
} // namespace brindle::test
