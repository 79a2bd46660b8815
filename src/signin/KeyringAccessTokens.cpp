#include "signin/KeyringAccessTokens.h"

#include "signin/AuthorizationServerReplies.h"
#include "signin/SecretStore.h"
#include "signin/SignedInAccount.h"

#include <QCoreApplication>
#include <QUrlQuery>

namespace brindle {

namespace {

MailError signInAgain() {
    return {QCoreApplication::translate(
                "brindle::SignIn",
                "サインインの有効期限が切れたか、取り消されました。\n"
                "ID/PASS の画面で「ブラウザでサインイン」からもう一度サインインしてください。"),
            {}};
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

std::variant<QString, MailError> KeyringAccessTokens::accessToken(const QString& server,
                                                                  const QString& id) {
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
    if (!account->accessExpiry.isValid() ||
        now.secsTo(account->accessExpiry) > RefreshMarginSeconds) {
        return account->accessToken;
    }
    if (account->refreshToken.isEmpty()) {
        return signInAgain();
    }

    const auto reply = network_.postForm(account->tokenEndpoint, refreshForm(*account));
    if (const auto* text = std::get_if<QString>(&reply)) {
        return MailError{*text, {}};
    }
    const auto answer = readTokenReply(std::get<JsonReply>(reply), now);
    if (const auto* text = std::get_if<QString>(&answer)) {
        return MailError{*text, {}};
    }
    if (std::holds_alternative<TokenRefusal>(answer)) {
        // A dead refresh token is of no further use; no later call asks again.
        secrets_.remove(key);
        return signInAgain();
    }
    const TokenGrant& grant = std::get<TokenGrant>(answer);
    account->accessToken = grant.accessToken;
    account->accessExpiry = grant.expiry;
    if (!grant.refreshToken.isEmpty()) {
        account->refreshToken = grant.refreshToken;
    }
    if (const auto failure = secrets_.write(key, account->toSecret())) {
        return MailError{failure->text, {}};
    }
    return account->accessToken;
}

} // namespace brindle
