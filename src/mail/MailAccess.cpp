#include "mail/MailAccess.h"

#include "mail/AccessTokens.h"
#include "settings/core/DesktopAccounts.h"

namespace brindle {

std::variant<LoginSecret, MailError> MailAccess::loginSecret() const {
    using Authentication = MailSession::Authentication;
    if (desktop != nullptr) {
        const auto secret = desktop->loginSecret(desktopAccount, server);
        if (const auto* why = std::get_if<QString>(&secret)) {
            return MailError{*why};
        }
        const auto& given = std::get<DesktopAccounts::Secret>(secret);
        return LoginSecret{given.text,
                           given.isAccessToken ? Authentication::Bearer : Authentication::UserPass};
    }
    if (tokens != nullptr) {
        const auto token = tokens->accessToken(server, id, AccessTokens::Refresh::WhenDue);
        if (const auto* error = std::get_if<MailError>(&token)) {
            return *error;
        }
        return LoginSecret{std::get<QString>(token), Authentication::Bearer};
    }
    return LoginSecret{password, Authentication::UserPass};
}

} // namespace brindle
