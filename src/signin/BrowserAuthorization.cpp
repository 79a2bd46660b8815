#include "signin/BrowserAuthorization.h"

#include "mail/net/LocalEventLoop.h"
#include "presentation/UrlOpener.h"
#include "signin/BoundedNetworkAccess.h"
#include "signin/LoopbackRedirectListener.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTimer>

namespace brindle {

namespace {

constexpr auto Base64Url = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

// 32 bytes of the system's random source, as base64url: the PKCE verifier
// and the state each.
QByteArray newRandomText() {
    QByteArray random(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(random.data()),
                                          random.size() / int(sizeof(quint32)));
    return random.toBase64(Base64Url);
}

QByteArray codeChallenge(const QByteArray& verifier) {
    return QCryptographicHash::hash(verifier, QCryptographicHash::Sha256).toBase64(Base64Url);
}

QUrl authorizationRequest(const AuthorizationEndpoints& server, const OAuthClient& client,
                          const QString& redirect, const QByteArray& state,
                          const QByteArray& verifier) {
    QUrlQuery query(server.authorizationEndpoint);
    query.addQueryItem(QStringLiteral("response_type"), QStringLiteral("code"));
    query.addQueryItem(QStringLiteral("client_id"), client.id);
    query.addQueryItem(QStringLiteral("redirect_uri"), redirect);
    if (!server.scope.isEmpty()) {
        query.addQueryItem(QStringLiteral("scope"), server.scope);
    }
    query.addQueryItem(QStringLiteral("state"), QString::fromLatin1(state));
    query.addQueryItem(QStringLiteral("code_challenge"),
                       QString::fromLatin1(codeChallenge(verifier)));
    query.addQueryItem(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
    for (const auto& [name, value] : server.authorizationExtras.queryItems()) {
        query.addQueryItem(name, value);
    }
    QUrl address = server.authorizationEndpoint;
    // Percent-encoded as a form, so that '+' in a value stays '+'.
    address.setQuery(
        query.toString(QUrl::FullyEncoded).replace(QLatin1Char('+'), QStringLiteral("%2B")),
        QUrl::StrictMode);
    return address;
}

QByteArray tokenRequest(const QString& code, const QString& redirect, const OAuthClient& client,
                        const QByteArray& verifier) {
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("grant_type"), QStringLiteral("authorization_code"));
    form.addQueryItem(QStringLiteral("code"), code);
    form.addQueryItem(QStringLiteral("redirect_uri"), redirect);
    form.addQueryItem(QStringLiteral("client_id"), client.id);
    if (!client.secret.isEmpty()) {
        form.addQueryItem(QStringLiteral("client_secret"), client.secret);
    }
    form.addQueryItem(QStringLiteral("code_verifier"), QString::fromLatin1(verifier));
    return form.toString(QUrl::FullyEncoded)
        .replace(QLatin1Char('+'), QStringLiteral("%2B"))
        .toUtf8();
}

// This sign-in's answer from the browser, checked before its code is used.
struct BrowserAnswer {
    QString code;
    QString problem; // why there is no code, for the user
};

BrowserAnswer readAnswer(const QUrlQuery& answer, const AuthorizationEndpoints& server) {
    const auto value = [&answer](const char* name) {
        return answer.queryItemValue(QLatin1String(name), QUrl::FullyDecoded);
    };
    if (!value("error").isEmpty()) {
        return {{},
                QCoreApplication::translate("brindle::SignIn",
                                            "サインインが認められませんでした (%1)。")
                    .arg(value("error").left(100))};
    }
    // RFC 9207: an answer from another authorization server is not this one's.
    const bool named = answer.hasQueryItem(QStringLiteral("iss"));
    if (!server.issuer.isEmpty() &&
        (named ? value("iss") != server.issuer : server.namesItselfInAnswers)) {
        return {{},
                QCoreApplication::translate(
                    "brindle::SignIn", "ブラウザからの応答が別の認可サーバー (%1) のものです。")
                    .arg(value("iss").left(100))};
    }
    if (value("code").isEmpty()) {
        return {{},
                QCoreApplication::translate("brindle::SignIn",
                                            "ブラウザからの応答に認可コードがありません。")};
    }
    return {value("code"), {}};
}

} // namespace

BrowserAuthorization::BrowserAuthorization(UrlOpener& browser, AddressReach reach)
    : browser_(browser), reach_(reach) {}

std::variant<TokenGrant, QString> BrowserAuthorization::run(const AuthorizationEndpoints& server,
                                                            const ClientFor& clientFor) {
    const QByteArray state = newRandomText();
    const QByteArray verifier = newRandomText();
    std::optional<BrowserAnswer> answer;
    QEventLoop loop;
    LoopbackRedirectListener listener([&](const QUrlQuery& query) {
        // Another page or program on this machine: not this sign-in's answer.
        if (answer || query.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded) !=
                          QString::fromLatin1(state)) {
            return QCoreApplication::translate(
                "brindle::SignIn", "Brindle: このページはサインインを完了しませんでした。");
        }
        answer = readAnswer(query, server);
        loop.quit();
        return answer->problem.isEmpty()
                   ? QCoreApplication::translate("brindle::SignIn",
                                                 "Brindle: サインインの応答を受け取りました。"
                                                 "このページを閉じて Brindle に戻ってください。")
                   : QCoreApplication::translate(
                         "brindle::SignIn",
                         "Brindle: サインインは完了しませんでした。Brindle に戻ってください。");
    });
    if (!listener.listen()) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "サインインの応答を受ける準備ができませんでした。");
    }
    const QString redirect = listener.redirectUri();
    const auto chosen = clientFor(redirect);
    if (const auto* text = std::get_if<QString>(&chosen)) {
        return *text;
    }
    const OAuthClient& client = std::get<OAuthClient>(chosen);
    if (!browser_.open(authorizationRequest(server, client, redirect, state, verifier))) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "ウェブブラウザを起動できませんでした。");
    }
    bool late = false;
    QTimer::singleShot(BrowserLimitMs, &loop, [&] {
        late = true;
        loop.quit();
    });
    runEventLoopUntil(loop, [&] { return answer || late; });
    if (!answer) {
        return QCoreApplication::translate(
                   "brindle::SignIn",
                   "サインインが %1 分以内に終わりませんでした。もう一度お試しください。")
            .arg(BrowserLimitMs / 60'000);
    }
    if (!answer->problem.isEmpty()) {
        return answer->problem;
    }

    BoundedNetworkAccess network(reach_);
    const auto reply = network.postForm(server.tokenEndpoint,
                                        tokenRequest(answer->code, redirect, client, verifier));
    if (const auto* text = std::get_if<QString>(&reply)) {
        return *text;
    }
    const auto tokens = readTokenReply(std::get<JsonReply>(reply), QDateTime::currentDateTimeUtc());
    if (const auto* refusal = std::get_if<TokenRefusal>(&tokens)) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "認可サーバーがトークンを出しませんでした (%1)。")
            .arg(refusal->error.left(100));
    }
    if (const auto* text = std::get_if<QString>(&tokens)) {
        return *text;
    }
    return std::get<TokenGrant>(tokens);
}

} // namespace brindle
