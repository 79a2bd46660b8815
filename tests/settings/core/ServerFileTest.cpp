#include "settings/core/ServerFile.h"

#include "settings/core/StoredFile.h"

#include "support/TempFolder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace brindle {
namespace {

class ServerFileTest : public ::testing::Test {
protected:
    test::TempFolder temp;
    const QString path = temp.file("lunaro.ini");

    SharedSettings readFrom(const QByteArray& bytes) const {
        temp.write("lunaro.ini", bytes);
        SharedSettings settings;
        ServerFile::read(path, settings);
        return settings;
    }
};

TEST_F(ServerFileTest, ReadsTheFourKeysByTheirFirstFiveCharacters) {
    const SharedSettings s = readFrom("smtp=lower\r\nSMT\r\nSMTP=first\r\nPOP3=pop=3\r\n"
                                      "MAIL=a@b\nSMTP=second\r\nAPOP=1\r\nNOTE=x\r\n");
    EXPECT_EQ(s.SmtpServer, "second");
    EXPECT_EQ(s.Pop3Server, "pop=3");
    EXPECT_EQ(s.MailAddress, "a@b");
    EXPECT_EQ(s.ApopFlag, 1);
}

TEST_F(ServerFileTest, CutsValuesAtAHundredCharactersCountingDoubleByteAsOne) {
    QByteArray hiragana;
    for (int i = 0; i < 150; ++i) {
        hiragana += "\x82\xa0"; // あ
    }
    const SharedSettings s = readFrom("POP3=" + hiragana + "\r\nMAIL=" + QByteArray(300, 'm'));
    EXPECT_EQ(s.Pop3Server, QString(100, QChar(u'あ')));
    EXPECT_EQ(s.MailAddress, QString(100, u'm'));
}

TEST_F(ServerFileTest, LeadByteBeforeALineEndNeverTakesTheLineEndWithIt) {
    const SharedSettings s = readFrom("POP3=a\x82\r\nMAIL=\x82\nSMTP=b\x82\x0d\x0d\nAPOP=1\x82");
    EXPECT_EQ(s.Pop3Server, QStringLiteral("a\uFFFD"));
    EXPECT_EQ(s.MailAddress, QStringLiteral("\uFFFD"));
    EXPECT_EQ(s.SmtpServer, QStringLiteral("b\uFFFD\r"));
    EXPECT_EQ(s.ApopFlag, 1);
}

TEST_F(ServerFileTest, FileOverTheSizeLimitIsNotRead) {
    const QByteArray lines = "POP3=mail.example\r\n";
    const SharedSettings atLimit =
        readFrom(lines + QByteArray(StoredFile::MaxBytes - lines.size(), '\n'));
    EXPECT_EQ(atLimit.Pop3Server, "mail.example");
    const SharedSettings over = readFrom(lines + QByteArray(StoredFile::MaxBytes, '\n'));
    EXPECT_TRUE(over.Pop3Server.isEmpty());
}

TEST_F(ServerFileTest, ApopIsTheRoundedValueOfText) {
    const struct {
        const char* text;
        int flag;
    } cases[] = {{"0.5", 0}, {"1.5", 2},       {"2.5", 2},         {"abc", 0},
                 {" 1", 1},  {"99999", 32767}, {"-1e400", -32768}, {"", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(readFrom(QByteArray("APOP=") + c.text).ApopFlag, c.flag) << c.text;
    }
}

TEST_F(ServerFileTest, MissingFileOrFolderOfThatNameChangesNothing) {
    SharedSettings settings{"smtp", "pop", "mail", 1, "id", "pw"};
    ServerFile::read(path, settings);
    temp.makeFolder("lunaro.ini");
    ServerFile::read(path, settings);
    EXPECT_EQ(settings.Pop3Server, "pop");
    EXPECT_EQ(settings.ApopFlag, 1);
}

TEST_F(ServerFileTest, WritesFourCrLfLinesInShiftJisReplacingTheOldFile) {
    temp.write("lunaro.ini", QByteArray(500, 'z'));
    const SharedSettings settings{"smtp.example.jp", QString::fromUtf8("受信"), "a@b", 1, "", ""};
    ASSERT_TRUE(ServerFile::write(path, settings));
    EXPECT_EQ(temp.read("lunaro.ini"),
              "SMTP=smtp.example.jp\r\nPOP3=\x8e\xf3\x90\x4d\r\nMAIL=a@b\r\nAPOP=1\r\n");
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"lunaro.ini"});
}

TEST_F(ServerFileTest, ValuesAreCutAtALineBreakAndUnencodableOnesRefused) {
    ASSERT_TRUE(ServerFile::write(path, {"s\nAPOP=7", "p\r\nx", "m", -1, "", ""}));
    EXPECT_EQ(temp.read("lunaro.ini"), "SMTP=s\r\nPOP3=p\r\nMAIL=m\r\nAPOP=-1\r\n");
    EXPECT_FALSE(ServerFile::write(path, {"s", "p", QString::fromUtf8("a€@b"), 0, "", ""}));
    EXPECT_EQ(temp.read("lunaro.ini"), "SMTP=s\r\nPOP3=p\r\nMAIL=m\r\nAPOP=-1\r\n");
    EXPECT_FALSE(ServerFile::write(temp.file("missing/lunaro.ini"), {}));
    EXPECT_FALSE(temp.exists("missing"));
}

TEST_F(ServerFileTest, BareNameMeansTheWorkingDirectory) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp.path()));
    const bool written = ServerFile::write("lunaro.ini", {"", "pop", "", 0, "", ""});
    SharedSettings settings;
    ServerFile::read("lunaro.ini", settings);
    QDir::setCurrent(previous);
    EXPECT_TRUE(written);
    EXPECT_EQ(settings.Pop3Server, "pop");
    EXPECT_TRUE(temp.exists("lunaro.ini"));
}

} // namespace
} // namespace brindle
