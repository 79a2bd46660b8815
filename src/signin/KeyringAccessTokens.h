#pragma once

#include "mail/AccessTokens.h"
#include "signin/BoundedNetworkAccess.h"

namespace brindle {

class SecretStore;

// The access tokens of signed-in accounts, kept in the keyring and refreshed
// there shortly before they expire. A refused refresh removes the account's
// tokens; the user has to sign in again.
class KeyringAccessTokens : public AccessTokens {
public:
    // A token with less life than this left is refreshed first.
    static constexpr qint64 RefreshMarginSeconds = 60;

    explicit KeyringAccessTokens(SecretStore& secrets);

    std::variant<QString, MailError> accessToken(const QString& server, const QString& id) override;

private:
    SecretStore& secrets_;
    BoundedNetworkAccess network_;
};

} // namespace brindle
