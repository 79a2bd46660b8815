#include "settings/core/SettingsLocation.h"

#include "settings/core/ProgramFolder.h"
#include "settings/core/SettingKeys.h"

#include <QDir>
#include <QFileInfo>

namespace brindle {

namespace {

constexpr QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Creates the folder owner-only when it is missing (missing parents as usual);
// an existing one keeps its permissions.
void makeOwnerOnlyFolder(const QString& path) {
    if (!QFileInfo(path).isDir()) {
        QDir().mkpath(QFileInfo(path).path());
        QDir().mkdir(path, OwnerOnly);
    }
}

} // namespace

SettingsLocation SettingsLocation::besideProgram(const QString& programFolder) {
    return {programFolder, QString::fromUtf8(SettingKeys::ServerFileName)};
}

SettingsLocation SettingsLocation::perUser(const QString& configHome) {
    const QString folder = configHome + QStringLiteral("/brindle");
    // The configuration home itself is the user's, and private too when it is new.
    makeOwnerOnlyFolder(configHome);
    makeOwnerOnlyFolder(folder);
    makeOwnerOnlyFolder(ProgramFolder::join(folder, QStringLiteral("\\★MailData")));
    return {folder, folder + QLatin1Char('/') + QString::fromUtf8(SettingKeys::ServerFileName)};
}

SettingsLocation SettingsLocation::forProgram(const QString& programFolder,
                                              const QString& configHome) {
    if (QFileInfo(programFolder).isWritable()) {
        return besideProgram(programFolder);
    }
    return perUser(configHome);
}

} // namespace brindle
