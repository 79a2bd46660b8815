#include "settings/core/ProfileFile.h"

#include "support/TempFolder.h"

#include <QDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace brindle {
namespace {

const QString Section = "EXEINI";
using std::filesystem::perms;

perms mode(const QString& path) {
    return std::filesystem::status(path.toStdString()).permissions();
}
const QByteArray NotSetBytes("\x96\xa2\x90\xdd\x92\xe8"); // 未設定

class ProfileFileTest : public ::testing::Test {
protected:
    const QString folder = QString::fromUtf8("★MailData");
    const QString name = folder + "/ini.ini";
    test::TempFolder temp;
    ProfileFile ini{temp.file(name)};

    void SetUp() override { temp.makeFolder(folder); }
    QByteArray bytes() const { return temp.read(name); }
};

TEST_F(ProfileFileTest, MissingFolderGivesDefaultsAndWritesNothing) {
    const test::TempFolder empty;
    const ProfileFile missing(empty.file(QString::fromUtf8("★MailData/ini.ini")));
    EXPECT_EQ(missing.readInt(Section, "NUMBER"), 0);
    EXPECT_EQ(missing.readString(Section, "NAME", QString::fromUtf8("未設定")),
              QString::fromUtf8("未設定"));
    EXPECT_FALSE(missing.writeString(Section, "NUMBER2", "0"));
    EXPECT_FALSE(empty.exists(QString::fromUtf8("★MailData")));
}

TEST_F(ProfileFileTest, CreatesTheFileInShiftJisWithCrLfInWriteOrder) {
    EXPECT_EQ(ini.readString(Section, "NAME", "default"), "default");
    ASSERT_TRUE(ini.writeString(Section, "NUMBER2", "0"));
    ASSERT_TRUE(ini.writeString(Section, "NAME", QString::fromUtf8("未設定")));
    ASSERT_TRUE(ini.writeString(Section, "NUMBER3", "0"));
    EXPECT_EQ(bytes(), "[EXEINI]\r\nNUMBER2=0\r\nNAME=" + NotSetBytes + "\r\nNUMBER3=0\r\n");
    EXPECT_EQ(
        QDir(temp.file(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{"ini.ini"}); // no temporary file left behind
}

TEST_F(ProfileFileTest, ReadsIntegersLikeTheProfileFunctions) {
    temp.write(name, "[exeini]\r\nNUMBER=2\r\n number2 = 1.5 \r\nA=abc\r\nB=-3\r\nC=+4x\r\n"
                     "D=99999999999\r\nE=\"5\"\r\nF=\r\n");
    const struct {
        const char* key;
        int value;
    } cases[] = {{"NUMBER", 2},     {"NUMBER2", 1}, {"a", 0}, {"B", -3},     {"C", 4},
                 {"D", 2147483647}, {"E", 5},       {"F", 0}, {"MISSING", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ini.readInt(Section, c.key), c.value) << c.key;
    }
    EXPECT_EQ(ini.readInt("OTHER", "NUMBER"), 0);
}

TEST_F(ProfileFileTest, ReadsStringsTrimmedUnquotedWithDefaultForEmpty) {
    temp.write(name, "[EXEINI]\nNAME=\nNAME2 =  a=b=c  \nNAME3=\"  x \"\nNAME4='y'\nNAME5=\"z'\n");
    EXPECT_EQ(ini.readString(Section, "NAME", "dflt"), "dflt");
    EXPECT_EQ(ini.readString(Section, "name2", ""), "a=b=c");
    EXPECT_EQ(ini.readString(Section, "NAME3", ""), "  x ");
    EXPECT_EQ(ini.readString(Section, "NAME4", ""), "y");
    EXPECT_EQ(ini.readString(Section, "NAME5", ""), "\"z'");
}

TEST_F(ProfileFileTest, CutsLongValuesAt255BytesBetweenCharacters) {
    const QString fits = QString(253, u'a') + QString::fromUtf8("あ");    // 255 bytes
    const QString tooLong = QString(254, u'a') + QString::fromUtf8("あ"); // 256 bytes
    ASSERT_TRUE(ini.writeString(Section, "NAME", fits));
    EXPECT_EQ(ini.readString(Section, "NAME", ""), fits);
    ASSERT_TRUE(ini.writeString(Section, "NAME", tooLong));
    EXPECT_EQ(ini.readString(Section, "NAME", ""), QString(254, u'a'));
    const QString path = QString::fromUtf8("C:\\Program Files\\メール\\ソフト.exe");
    ASSERT_TRUE(ini.writeString(Section, "NAME", path));
    EXPECT_EQ(ini.readString(Section, "NAME", ""), path);
}

// Every other line keeps its text; all lines come back with CR LF, also those
// edited by hand with LF only.
TEST_F(ProfileFileTest, ReplacingAKeyLeavesEveryOtherLineAlone) {
    const QByteArray before = "; comment\r\n[Other]\r\nNUMBER=9\r\n\r\n[exeini]\nnumber = 1\n"
                              "junk line\n\xff\xfe\r\nNAME=" +
                              NotSetBytes + "\n\n[Last]\r\nX=1";
    temp.write(name, before);
    ASSERT_TRUE(ini.writeString(Section, "NUMBER", "0"));
    ASSERT_TRUE(ini.writeString(Section, "NUMBER4", "1"));
    ASSERT_TRUE(ini.writeString("New", "K", "v"));
    EXPECT_EQ(bytes(), "; comment\r\n[Other]\r\nNUMBER=9\r\n\r\n[exeini]\r\nNUMBER=0\r\n"
                       "junk line\r\n\xff\xfe\r\nNAME=" +
                           NotSetBytes +
                           "\r\nNUMBER4=1\r\n"
                           "\r\n[Last]\r\nX=1\r\n[New]\r\nK=v\r\n");
    EXPECT_EQ(ini.readInt("other", "NUMBER"), 9);
}

TEST_F(ProfileFileTest, RefusesValuesItCannotStoreFaithfully) {
    ASSERT_TRUE(ini.writeString(Section, "NAME2", "secret"));
    const QByteArray before = bytes();
    EXPECT_FALSE(ini.writeString(Section, "NAME2", QString::fromUtf8("pass¥word")));
    EXPECT_FALSE(ini.writeString(Section, "NAME2", "x\r\nNUMBER=1"));
    EXPECT_FALSE(ini.writeString(Section, "NAME2", "x\ny"));
    EXPECT_FALSE(ini.writeString(Section, "NAME2=", "x"));
    EXPECT_EQ(bytes(), before);
}

TEST_F(ProfileFileTest, OwnerOnlyFilesAreTightenedOnEveryWriteOthersKeepTheirMode) {
    const QString accountName = folder + "/iniIdPass.ini";
    const ProfileFile account(temp.file(accountName), StoredFile::Access::OwnerOnly);
    ASSERT_TRUE(account.writeString(Section, "NAME2", "secret"));
    EXPECT_EQ(mode(account.path()), perms::owner_read | perms::owner_write);

    const perms shared =
        perms::owner_read | perms::owner_write | perms::group_read | perms::others_read;
    std::filesystem::permissions(account.path().toStdString(), shared);
    ASSERT_TRUE(account.writeString(Section, "NAME", "x"));
    EXPECT_EQ(mode(account.path()), perms::owner_read | perms::owner_write);

    temp.write(name, "[EXEINI]\r\n");
    std::filesystem::permissions(ini.path().toStdString(), shared);
    ASSERT_TRUE(ini.writeString(Section, "NAME", "x"));
    EXPECT_EQ(mode(ini.path()), shared);
}

TEST_F(ProfileFileTest, SeveralKeysAreWrittenTogetherOrNotAtAll) {
    ASSERT_TRUE(ini.writeStrings(Section, {{"NAME", "id"}, {"NAME2", "pw"}}));
    const QByteArray before = bytes();
    EXPECT_EQ(before, "[EXEINI]\r\nNAME=id\r\nNAME2=pw\r\n");
    EXPECT_FALSE(ini.writeStrings(
        Section, {{"NAME", "new"}, {"NAME2", QString::fromUtf8("pass¥word")}, {"NAME3", "1"}}));
    EXPECT_EQ(bytes(), before);
}

TEST_F(ProfileFileTest, SurvivesHandEditedOddities) {
    temp.write(name, "[EXEINI\r\n" + QByteArray(2'000'000, 'x') + "\r\n=orphan\r\nNAME=ok\r\n");
    EXPECT_EQ(ini.readString(Section, "NAME", ""), "ok");
    temp.write(name, "[EXEINI]\r\nNAME=" + QByteArray(100'000, 'y') + "\x82");
    EXPECT_EQ(ini.readString(Section, "NAME", ""), QString(255, u'y'));
}

} // namespace
} // namespace brindle
