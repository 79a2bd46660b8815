#include "signin/BrowserAuthorization.h"

#include "mail/net/LocalEventLoop.h"
#include "presentation/UrlOpener.h"
#include "signin/BoundedNetworkAccess.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHostAddress>
#include <QNetworkReply>
#include <QOAuth2AuthorizationCodeFlow>
#include <QOAuthHttpServerReplyHandler>
#include <QRandomGenerator>
#include <QTimer>

namespace brindle {

namespace {

constexpr auto Base64Url = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

QByteArray newCodeVerifier() {
    QByteArray random(32, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(random.data()),
                                          random.size() / int(sizeof(quint32)));
    return random.toBase64(Base64Url);
}

QByteArray codeChallenge(const QByteArray& verifier) {
    return QCryptographicHash::hash(verifier, QCryptographicHash::Sha256).toBase64(Base64Url);
}

// What the browser brought back to the listener, checked before the code is used.
QString problemWithAnswer(const QVariantMap& answer, const QString& expectedState) {
    const QString error = answer.value(QStringLiteral("error")).toString();
    if (!error.isEmpty()) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "サインインが認められませんでした (%1)。")
            .arg(error.left(100));
    }
    const QString state =
        QUrl::fromPercentEncoding(answer.value(QStringLiteral("state")).toByteArray());
    if (state != expectedState) {
        return QCoreApplication::translate(
            "brindle::SignIn", "ブラウザからの応答がこのサインインのものではありません。"
                               "もう一度お試しください。");
    }
    if (answer.value(QStringLiteral("code")).toString().isEmpty()) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "ブラウザからの応答に認可コードがありません。");
    }
    return {};
}

} // namespace

BrowserAuthorization::BrowserAuthorization(UrlOpener& browser) : browser_(browser) {}

std::variant<TokenGrant, QString> BrowserAuthorization::run(const AuthorizationEndpoints& server,
                                                            const ClientFor& clientFor) {
    if (!isAllowedEndpoint(server.authorizationEndpoint) ||
        !isAllowedEndpoint(server.tokenEndpoint)) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "認可サーバーのアドレスは https でないため使えません。");
    }
    QOAuthHttpServerReplyHandler listener(QHostAddress(QHostAddress::LocalHost), 0);
    if (!listener.isListening()) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "サインインの応答を受ける準備ができませんでした。");
    }
    listener.setCallbackText(QCoreApplication::translate(
        "brindle::SignIn", "Brindle: サインインの応答を受け取りました。このページを閉じて Brindle "
                           "に戻ってください。"));
    // Qt names the listener's port only while it listens: the token request,
    // after it has closed, needs the same address.
    const QString redirect = listener.callback();
    const auto client = clientFor(redirect);
    if (const auto* text = std::get_if<QString>(&client)) {
        return *text;
    }

    BoundedNetworkAccess network;
    QOAuth2AuthorizationCodeFlow flow(&network);
    flow.setReplyHandler(&listener);
    flow.setAuthorizationUrl(server.authorizationEndpoint);
    flow.setAccessTokenUrl(server.tokenEndpoint);
    flow.setClientIdentifier(std::get<OAuthClient>(client).id);
    flow.setClientIdentifierSharedKey(std::get<OAuthClient>(client).secret);
    flow.setScope(server.scope);
    const QByteArray verifier = newCodeVerifier();
    flow.setModifyParametersFunction([&](QAbstractOAuth::Stage stage,
                                         QMultiMap<QString, QVariant>* parameters) {
        if (stage == QAbstractOAuth::Stage::RequestingAuthorization) {
            parameters->replace(QStringLiteral("code_challenge"), codeChallenge(verifier));
            parameters->replace(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
            for (const auto& [name, value] : server.authorizationExtras.queryItems()) {
                parameters->replace(name, value);
            }
        } else if (stage == QAbstractOAuth::Stage::RequestingAccessToken) {
            parameters->replace(QStringLiteral("code_verifier"), verifier);
            parameters->replace(QStringLiteral("redirect_uri"), redirect);
        }
    });

    std::optional<std::variant<TokenGrant, QString>> outcome;
    QEventLoop loop;
    const auto end = [&](std::variant<TokenGrant, QString> result) {
        if (!outcome) {
            outcome = std::move(result);
            loop.quit();
        }
    };
    QObject::connect(&flow, &QAbstractOAuth::authorizeWithBrowser, &loop, [&](const QUrl& address) {
        if (!browser_.open(address)) {
            end(QCoreApplication::translate("brindle::SignIn",
                                            "ウェブブラウザを起動できませんでした。"));
        }
    });
    QObject::connect(&listener, &QAbstractOAuthReplyHandler::callbackReceived, &loop,
                     [&](const QVariantMap& answer) {
                         listener.close();
                         if (const QString problem = problemWithAnswer(answer, flow.state());
                             !problem.isEmpty()) {
                             end(problem);
                         }
                     });
    QObject::connect(&network, &QNetworkAccessManager::finished, &loop, [&](QNetworkReply* reply) {
        const auto read = BoundedNetworkAccess::read(*reply);
        if (const auto* text = std::get_if<QString>(&read)) {
            end(*text);
            return;
        }
        const auto answer =
            readTokenReply(std::get<JsonReply>(read), QDateTime::currentDateTimeUtc());
        if (const auto* refusal = std::get_if<TokenRefusal>(&answer)) {
            end(QCoreApplication::translate("brindle::SignIn",
                                            "認可サーバーがトークンを出しませんでした (%1)。")
                    .arg(refusal->error.left(100)));
        } else if (const auto* text = std::get_if<QString>(&answer)) {
            end(*text);
        } else {
            end(std::get<TokenGrant>(answer));
        }
    });
    QTimer::singleShot(BrowserLimitMs, &loop, [&] {
        end(QCoreApplication::translate(
                "brindle::SignIn",
                "サインインが %1 分以内に終わりませんでした。もう一度お試しください。")
                .arg(BrowserLimitMs / 60'000));
    });

    flow.grant();
    runEventLoopUntil(loop, [&] { return outcome.has_value(); });
    return *outcome;
}

} // namespace brindle
