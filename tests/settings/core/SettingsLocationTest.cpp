#include "settings/core/SettingsLocation.h"
#include "support/FileFacts.h"
#include "support/TempFolder.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brindle::test {
namespace {

class SettingsLocationTest : public ::testing::Test {
protected:
    QString configHome() const { return home.file(QStringLiteral(".config")); }

    TempFolder programFolder;
    TempFolder home;
};

TEST_F(SettingsLocationTest, AWritableProgramFolderKeepsTheSettingsBesideItAndCreatesNothing) {
    const SettingsLocation location =
        SettingsLocation::forProgram(programFolder.path(), configHome());
    EXPECT_EQ(location.folder, programFolder.path());
    EXPECT_EQ(location.serverFile, QStringLiteral("lunaro.ini"));
    EXPECT_FALSE(QFileInfo::exists(configHome()));
    EXPECT_FALSE(programFolder.exists(QStringLiteral("★MailData")));
}

TEST_F(SettingsLocationTest, PerUserSettingsGoToANewOwnerOnlyFolderWithTheServerFile) {
    const SettingsLocation location = SettingsLocation::perUser(configHome());
    const QString folder = configHome() + QStringLiteral("/brindle");
    EXPECT_EQ(location.folder, folder);
    EXPECT_EQ(location.serverFile, folder + QStringLiteral("/lunaro.ini"));
    for (const QString& created : {configHome(), folder, folder + QStringLiteral("/★MailData")}) {
        EXPECT_TRUE(QFileInfo(created).isDir()) << created.toStdString();
        EXPECT_EQ(permissionBits(created), 0700) << created.toStdString();
    }
}

TEST_F(SettingsLocationTest, PerUserSettingsLeaveExistingFoldersAsTheyAre) {
    const QString folder = home.makeFolder(QStringLiteral(".config/brindle"));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0750), 0);
    home.write(QStringLiteral(".config/brindle/lunaro.ini"), "POP3=kept\r\n");

    SettingsLocation::perUser(configHome());
    EXPECT_EQ(permissionBits(folder), 0750);
    EXPECT_EQ(home.read(QStringLiteral(".config/brindle/lunaro.ini")), "POP3=kept\r\n");
    EXPECT_EQ(permissionBits(folder + QStringLiteral("/★MailData")), 0700);
}

TEST_F(SettingsLocationTest, AProgramFolderTheUserCannotWriteUsesThePerUserFolder) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any folder; the package test starts the installed "
                        "program as an ordinary user instead";
    }
    const QByteArray folder = QFile::encodeName(programFolder.path());
    ASSERT_EQ(::chmod(folder.constData(), 0500), 0);
    const SettingsLocation location =
        SettingsLocation::forProgram(programFolder.path(), configHome());
    ::chmod(folder.constData(), 0700);
    EXPECT_EQ(location.folder, configHome() + QStringLiteral("/brindle"));
    EXPECT_EQ(permissionBits(location.folder + QStringLiteral("/★MailData")), 0700);
}

} // namespace
} // namespace brindle::test
