#include "mail/header/HeaderText.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

struct Case {
    const char* name;
    QByteArray value; // an unfolded header field value
    const char* text; // UTF-8
};

class HeaderTextTest : public ::testing::TestWithParam<Case> {};

TEST_P(HeaderTextTest, DecodesForReading) {
    EXPECT_EQ(HeaderText::decode(GetParam().value).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, HeaderTextTest,
    ::testing::Values(
        Case{"Iso2022JpB", "=?ISO-2022-JP?B?GyRCMnE1RCROJCpDTiRpJDsbKEI=?=", "会議のお知らせ"},
        // Cut inside the two-byte mode: only the words read together make sense.
        Case{"Iso2022JpSplitAcrossFoldedWords",
             "=?iso-2022-jp?B?GyRCMnE1RA==?=\r\n =?ISO-2022-JP?B?JE4kKkNOJGkkOxsoQg==?=",
             "会議のお知らせ"},
        Case{"Iso2022JpNecSpecialAndLanguage",
             "=?ISO-2022-JP*ja?B?GyRCLSEkNDBGRmIbKEI=?=", "①ご案内"},
        Case{"ShiftJisB", "=?Shift_JIS?B?jlKTYyCRvphZ?= <taro@example.jp>",
             "山田 太郎 <taro@example.jp>"},
        Case{"Utf8CharacterSplitBetweenWords",
             "=?UTF-8?B?5pel5g==?= =?UTF-8?B?nKzoqp4=?=", "日本語"},
        Case{"EucJpQ", "Re: =?EUC-JP?Q?=C6=FC=CB=DC?= again", "Re: 日本 again"},
        Case{"QUnderscoreAndBadEscape", "=?utf-8?q?caf=C3=A9_au_lait_=ZZ?=", "café au lait =ZZ"},
        Case{"RawShiftJis", "\x82\xa8\x92\x6d\x82\xe7\x82\xb9", "お知らせ"},
        Case{"RawEucJp", "\xa4\xaa\xc3\xce\xa4\xe9\xa4\xbb", "お知らせ"},
        Case{"RawIso2022Jp", "\x1b$B$*CN$i$;\x1b(B!", "お知らせ!"},
        Case{"RawUtf8AndBlanks", "  \xe3\x81\x82\t\t b  ", "あ b"},
        Case{"UnknownCharsetIsGuessed", "=?x-unknown?Q?abc?=", "abc"},
        Case{"NotAnEncodedWord",
             "=?UTF-8?X?abc?= =?UTF-8?B?a b?=", "=?UTF-8?X?abc?= =?UTF-8?B?a b?="},
        Case{"UndecodableBytesAndControls",
             QByteArray("=?UTF-8?B?gA==?= =?ISO-2022-JP?B?GyRC/xsoQg==?= a\x01\0b", 52),
             "\xef\xbf\xbd\xef\xbf\xbd a\xef\xbf\xbd\xef\xbf\xbd"
             "b"}),
    [](const auto& tested) { return std::string(tested.param.name); });

} // namespace
} // namespace brindle::test
