#include "signin/KeyringAccessTokens.h"

#include "mail/net/MailServerAddress.h"
#include "signin/AuthorizationServerReplies.h"
#include "signin/BoundedNetworkAccess.h"
#include "signin/SecretStore.h"
#include "signin/SignedInAccount.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <QUrlQuery>

namespace brindle {

namespace {

MailError signInAgain() {
    return {QCoreApplication::translate(
                "brindle::SignIn",
                "サインインの有効期限が切れたか、取り消されました。\n"
                "ID/PASS の画面で「ブラウザでサインイン」からもう一度サインインしてください。"),
            {},
            false,
            true};
}

QByteArray refreshForm(const SignedInAccount& account) {
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("grant_type"), QStringLiteral("refresh_token"));
    form.addQueryItem(QStringLiteral("refresh_token"), account.refreshToken);
    form.addQueryItem(QStringLiteral("client_id"), account.client.id);
    if (!account.client.secret.isEmpty()) {
        form.addQueryItem(QStringLiteral("client_secret"), account.client.secret);
    }
    return form.query(QUrl::FullyEncoded).toUtf8();
}

} // namespace

KeyringAccessTokens::KeyringAccessTokens(SecretStore& secrets) : secrets_(secrets) {}

std::variant<QString, MailError>
KeyringAccessTokens::accessToken(const QString& server, const QString& id, Refresh refresh) {
    const QString key = SignedInAccount::keyFor(server, id);
    const auto secret = secrets_.read(key);
    if (const auto* failure = std::get_if<SecretStore::Failure>(&secret)) {
        return MailError{failure->text, {}};
    }
    const auto* stored = std::get_if<QByteArray>(&secret);
    std::optional<SignedInAccount> account =
        stored ? SignedInAccount::fromSecret(*stored) : std::nullopt;
    if (!account) {
        return signInAgain();
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const bool due =
        refresh == Refresh::Now || (account->accessExpiry.isValid() &&
                                    now.secsTo(account->accessExpiry) <= RefreshMarginSeconds);
    if (!due) {
        return account->accessToken;
    }
    if (refreshing_.contains(key)) {
        // The refresh under way gives the next token; until then the one
        // kept serves while it lives.
        if (refresh == Refresh::WhenDue && now < account->accessExpiry) {
            return account->accessToken;
        }
        return MailError{
            QCoreApplication::translate(
                "brindle::SignIn",
                "サインインを更新しています。しばらくしてからもう一度お試しください。"),
            {}};
    }
    if (account->refreshToken.isEmpty()) {
        return signInAgain();
    }
    refreshing_.insert(key);
    const auto done = qScopeGuard([&] { refreshing_.remove(key); });
    return refreshed(key, *account, server);
}

std::variant<QString, MailError>
KeyringAccessTokens::refreshed(const QString& key, SignedInAccount account, const QString& server) {
    const auto address = MailServerAddress::parse(server);
    BoundedNetworkAccess network(address ? reachFor(address->host) : AddressReach::PublicOnly);
    const auto reply = network.postForm(account.tokenEndpoint, refreshForm(account));
    if (const auto* text = std::get_if<QString>(&reply)) {
        return MailError{*text, {}};
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto answer = readTokenReply(std::get<JsonReply>(reply), now);
    if (const auto* text = std::get_if<QString>(&answer)) {
        return MailError{*text, {}};
    }
    if (const auto* refusal = std::get_if<TokenRefusal>(&answer)) {
        if (refusal->error != QLatin1String("invalid_grant")) {
            // The provider may be having trouble: the tokens stay.
            return MailError{
                QCoreApplication::translate("brindle::SignIn",
                                            "認可サーバーがトークンを更新しませんでした (%1)。")
                    .arg(refusal->error.left(100)),
                {}};
        }
        // A dead refresh token is of no further use; no later call asks again.
        secrets_.remove(key);
        return signInAgain();
    }
    const TokenGrant& grant = std::get<TokenGrant>(answer);
    account.accessToken = grant.accessToken;
    account.accessExpiry = grant.expiry;
    if (!grant.refreshToken.isEmpty()) {
        account.refreshToken = grant.refreshToken;
    }
    if (const auto failure = secrets_.write(key, account.toSecret())) {
        return MailError{failure->text, {}};
    }
    return account.accessToken;
}

} // namespace brindle
