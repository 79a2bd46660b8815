#include "settings/core/Cp932.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

TEST(Cp932, EncodesWithWindowsCodes) {
    EXPECT_EQ(Cp932::encode(QString::fromUtf8("未設定")), QByteArray("\x96\xa2\x90\xdd\x92\xe8"));
    EXPECT_EQ(Cp932::encode(QString::fromUtf8("A\\~ｱ～①")), QByteArray("A\\~\xb1\x81\x60\x87\x40"));
    EXPECT_EQ(Cp932::encode(QString()), QByteArray());
}

TEST(Cp932, RefusesCharactersWithoutACodeOfTheirOwn) {
    // U+00A5 and U+2014 only have look-alike codes; the others have none.
    for (const char* text : {"¥", "a—b", "€", "😀", "한"}) {
        EXPECT_FALSE(Cp932::encode(QString::fromUtf8(text))) << text;
    }
    EXPECT_FALSE(Cp932::encode(QString(QChar(0xD800)))); // lone surrogate
}

TEST(Cp932, DecodesInvalidBytesAsReplacementCharacters) {
    EXPECT_EQ(Cp932::decode("\x96\xa2\x81\x60\x87\x40"), QString::fromUtf8("未～①"));
    EXPECT_EQ(Cp932::decode("a\xff"
                            "b"),
              QString::fromUtf8("a\uFFFDb"));
    EXPECT_EQ(Cp932::decode("a\x82"), QString::fromUtf8("a\uFFFD"));
    EXPECT_EQ(Cp932::decode(QByteArray("\0x", 2)), QString(QChar(0)) + u'x');
}

} // namespace
} // namespace brindle
