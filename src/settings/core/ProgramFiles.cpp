#include "settings/core/ProgramFiles.h"

#include "settings/core/ProgramFolder.h"
#include "settings/core/SettingKeys.h"

namespace brindle {

QString ProgramFiles::file(const QString& backslashSuffix) const {
    return ProgramFolder::join(folder_, backslashSuffix);
}

ProfileFile ProgramFiles::mainSettings() const {
    return ProfileFile(
        ProgramFolder::join(settings_.folder, QString::fromUtf8(SettingKeys::MainFile)));
}

ProfileFile ProgramFiles::accountSettings() const {
    return ProfileFile(
        ProgramFolder::join(settings_.folder, QString::fromUtf8(SettingKeys::AccountFile)),
        StoredFile::Access::OwnerOnly);
}

ProfileFile ProgramFiles::mailboxSettings() const {
    return ProfileFile(
        ProgramFolder::join(settings_.folder, QString::fromUtf8(SettingKeys::MailboxFile)),
        StoredFile::Access::OwnerOnly);
}

SeenMessages ProgramFiles::seenMessages() const {
    return SeenMessages(
        ProgramFolder::join(settings_.folder, QString::fromUtf8(SettingKeys::SeenFile)));
}

} // namespace brindle
