#pragma once

#include "mail/AccessTokens.h"

#include <QSet>

namespace brindle {

class SecretStore;
struct SignedInAccount;

// The access tokens of signed-in accounts, kept in the keyring and refreshed
// there shortly before they expire. Only a refresh token the provider calls
// invalid (invalid_grant) removes the account's tokens; the user then has to
// sign in again.
class KeyringAccessTokens : public AccessTokens {
public:
    // A token with less life than this left is refreshed first.
    static constexpr qint64 RefreshMarginSeconds = 60;

    explicit KeyringAccessTokens(SecretStore& secrets);

    std::variant<QString, MailError> accessToken(const QString& server, const QString& id,
                                                 Refresh refresh) override;

private:
    std::variant<QString, MailError> refreshed(const QString& key, SignedInAccount account,
                                               const QString& server);

    SecretStore& secrets_;
    // Keys whose refresh is under way. A caller that comes while one waits
    // (a push reconnecting during a check) spends no second refresh: with
    // rotating refresh tokens the second would be refused.
    QSet<QString> refreshing_;
};

} // namespace brindle
