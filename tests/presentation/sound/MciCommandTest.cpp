#include "presentation/sound/MciCommand.h"

#include <gtest/gtest.h>

namespace brindle {
namespace {

using namespace Qt::StringLiterals;

using Verb = MciCommand::Verb;

MciCommand parsed(const QString& text) {
    const std::optional<MciCommand> command = MciCommand::parse(text);
    EXPECT_TRUE(command.has_value()) << text.toStdString();
    return command.value_or(MciCommand{});
}

TEST(MciCommandTest, OpenTakesTheQuotedPathAsItStands) {
    const MciCommand command =
        parsed(u"open \"/home/a b/画像 データ/../Sound/Kouka2.mid\" alias bgm"_s);
    EXPECT_EQ(command.verb, Verb::Open);
    EXPECT_EQ(command.file, u"/home/a b/画像 データ/../Sound/Kouka2.mid"_s);
    EXPECT_EQ(command.alias, u"bgm"_s);

    // A folder at a drive root leaves two separators in a row; they are kept.
    EXPECT_EQ(parsed(u"open \"C:\\\\Sound\\Kouka.mid\" alias bgm"_s).file,
              u"C:\\\\Sound\\Kouka.mid"_s);
    EXPECT_EQ(parsed(u"open /tmp/Kouka.mid alias bgm"_s).file, u"/tmp/Kouka.mid"_s);
}

TEST(MciCommandTest, KeywordsAndAliasesIgnoreCaseAndBlanksRepeat) {
    const MciCommand open = parsed(u"  OPEN\t \"/x y.mid\"   Alias   BGM  "_s);
    EXPECT_EQ(open.verb, Verb::Open);
    EXPECT_EQ(open.file, u"/x y.mid"_s);
    EXPECT_EQ(open.alias, u"bgm"_s);

    const MciCommand play = parsed(u"Play  bgm   FROM 0"_s);
    EXPECT_EQ(play.verb, Verb::Play);
    EXPECT_TRUE(play.fromStart);
    EXPECT_FALSE(parsed(u"PLAY Bgm"_s).fromStart);
    EXPECT_EQ(parsed(u"PLAY Bgm"_s).alias, u"bgm"_s);
    EXPECT_EQ(parsed(u"Stop bgm"_s).verb, Verb::Stop);
    EXPECT_EQ(parsed(u"CLOSE bgm"_s).verb, Verb::Close);
    EXPECT_EQ(parsed(u"status bgm MODE"_s).verb, Verb::StatusMode);
}

TEST(MciCommandTest, RejectsWhatItDoesNotUnderstand) {
    for (const QString& text : {
             u""_s,
             u"   "_s,
             u"play"_s,
             u"pause bgm"_s,
             u"stop bgm now"_s,
             u"play bgm from"_s,
             u"play bgm from 5"_s,
             u"play bgm to 0"_s,
             u"status bgm"_s,
             u"status bgm position"_s,
             u"open \"/x.mid\" alias"_s,
             u"open \"/x.mid\" as bgm"_s,
             u"open \"/x.mid alias bgm"_s,   // no closing quote
             u"open /a b.mid alias bgm"_s,   // blank in an unquoted path
             u"open \"/x\".mid alias bgm"_s, // text glued to the closing quote
             u"open \"\" alias bgm"_s,
             u"close \"\""_s,
         }) {
        EXPECT_FALSE(MciCommand::parse(text).has_value()) << text.toStdString();
    }
}

} // namespace
} // namespace brindle
