#include "settings/core/AccountSignIn.h"

#include "settings/core/SettingKeys.h"

namespace brindle::AccountSignIn {

std::optional<QString> signedInServer(const ProfileFile& account, const QString& currentServer) {
    const auto read = [&account](const SettingKeys::Key& key) {
        return account.readString(SettingKeys::Section, key.name,
                                  QString::fromUtf8(key.defaultText));
    };
    if (read(SettingKeys::AccountSignIn) != OAuth2) {
        return std::nullopt;
    }
    const QString server = read(SettingKeys::AccountSignInServer);
    return server.isEmpty() ? currentServer : server;
}

} // namespace brindle::AccountSignIn
