#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

namespace brindle {

// The desktop's keyring: secrets (UTF-8 text) by key, never in a file of the
// program.
class SecretStore {
public:
    struct Missing {}; // no secret under the key
    struct Failure {
        QString text; // why the keyring could not be used, for the user
    };

    virtual ~SecretStore() = default;
    virtual std::variant<QByteArray, Missing, Failure> read(const QString& key) = 0;
    // Nullopt once stored.
    virtual std::optional<Failure> write(const QString& key, const QByteArray& secret) = 0;
    // A missing key is no failure.
    virtual std::optional<Failure> remove(const QString& key) = 0;
};

} // namespace brindle
