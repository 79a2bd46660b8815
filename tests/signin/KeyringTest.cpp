#include "signin/KeyringSecretStore.h"
#include "support/KeyringDaemon.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// The real Secret Service: first absent, then gnome-keyring-daemon on the
// same private bus.
TEST(KeyringTest, SaysWhenThereIsNoKeyringAndKeepsSecretsOnlyInIt) {
    KeyringDaemon keyring;
    KeyringSecretStore store;
    const QString key = QStringLiteral("imaps://127.0.0.1:993 alice");
    const QByteArray secret = R"({"access_token":"at-1"})";

    const auto absent = store.write(key, secret);
    ASSERT_TRUE(absent);
    EXPECT_FALSE(absent->text.isEmpty());
    EXPECT_TRUE(std::holds_alternative<SecretStore::Failure>(store.read(key)));

    ASSERT_TRUE(keyring.start());
    EXPECT_TRUE(std::holds_alternative<SecretStore::Missing>(store.read(key)));
    EXPECT_FALSE(store.write(key, secret));
    EXPECT_EQ(keyring.lookUp(key), secret);
    const auto read = store.read(key);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(read));
    EXPECT_EQ(std::get<QByteArray>(read), secret);

    EXPECT_FALSE(store.remove(key));
    EXPECT_TRUE(keyring.lookUp(key).isEmpty());
    EXPECT_TRUE(std::holds_alternative<SecretStore::Missing>(store.read(key)));
    EXPECT_FALSE(store.remove(key));
}

} // namespace
} // namespace brindle::test
