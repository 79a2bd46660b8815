#include "settings/core/AccountSignIn.h"

#include "settings/core/SettingKeys.h"

namespace brindle::AccountSignIn {

namespace {

QString read(const ProfileFile& account, const SettingKeys::Key& key) {
    return account.readString(SettingKeys::Section, key.name, QString::fromUtf8(key.defaultText));
}

} // namespace

std::optional<QString> signedInServer(const ProfileFile& account, const QString& currentServer) {
    if (read(account, SettingKeys::AccountSignIn) != OAuth2) {
        return std::nullopt;
    }
    const QString server = read(account, SettingKeys::AccountSignInServer);
    return server.isEmpty() ? currentServer : server;
}

std::optional<QString> desktopAccount(const ProfileFile& account, const QString& currentServer) {
    const QString id = read(account, SettingKeys::AccountDesktopAccount);
    if (read(account, SettingKeys::AccountSignIn) != DesktopAccount || id.isEmpty() ||
        read(account, SettingKeys::AccountSignInServer) != currentServer) {
        return std::nullopt;
    }
    return id;
}

} // namespace brindle::AccountSignIn
