#pragma once

#include "signin/SecretStore.h"

namespace brindle {

// The Secret Service keyring (GNOME Keyring, KWallet) through QtKeychain,
// under the program's own service name. Each call waits JobLimitMs at most
// (the keyring may ask the user to unlock it).
class KeyringSecretStore : public SecretStore {
public:
    static constexpr int JobLimitMs = 120'000;

    std::variant<QByteArray, Missing, Failure> read(const QString& key) override;
    std::optional<Failure> write(const QString& key, const QByteArray& secret) override;
    std::optional<Failure> remove(const QString& key) override;
};

} // namespace brindle
