#include "settings/core/SettingsLocation.h"
#include "support/TempFolder.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

namespace brindle::test {
namespace {

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Owner, group and other bits only (Qt also reports the "user" bits).
QFile::Permissions modeOf(const QString& path) {
    return QFileInfo(path).permissions() &
           (OwnerOnly | QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
            QFile::WriteOther | QFile::ExeOther);
}

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
        EXPECT_EQ(modeOf(created), OwnerOnly) << created.toStdString();
    }
}

TEST_F(SettingsLocationTest, PerUserSettingsLeaveExistingFoldersAsTheyAre) {
    const QString folder = home.makeFolder(QStringLiteral(".config/brindle"));
    const QFile::Permissions shared = modeOf(folder) | QFile::ReadGroup | QFile::ExeGroup;
    ASSERT_TRUE(QFile::setPermissions(folder, shared));
    home.write(QStringLiteral(".config/brindle/lunaro.ini"), "POP3=kept\r\n");

    SettingsLocation::perUser(configHome());
    EXPECT_EQ(modeOf(folder), shared);
    EXPECT_EQ(home.read(QStringLiteral(".config/brindle/lunaro.ini")), "POP3=kept\r\n");
    EXPECT_EQ(modeOf(folder + QStringLiteral("/★MailData")), OwnerOnly);
}

TEST_F(SettingsLocationTest, AProgramFolderTheUserCannotWriteUsesThePerUserFolder) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root may write any folder; the package test starts the installed "
                        "program as an ordinary user instead";
    }
    ASSERT_TRUE(QFile::setPermissions(programFolder.path(), QFile::ReadOwner | QFile::ExeOwner));
    const SettingsLocation location =
        SettingsLocation::forProgram(programFolder.path(), configHome());
    QFile::setPermissions(programFolder.path(), OwnerOnly);
    EXPECT_EQ(location.folder, configHome() + QStringLiteral("/brindle"));
    EXPECT_EQ(modeOf(location.folder + QStringLiteral("/★MailData")), OwnerOnly);
}

} // namespace
} // namespace brindle::test
