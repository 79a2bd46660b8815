#include "signin/AuthorizationServerReplies.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QJsonArray>
#include <algorithm>

namespace brindle {

namespace {

// Access token lifetimes beyond a year are read as a year.
constexpr qint64 LongestLifetimeSeconds = 365LL * 24 * 3600;
// The scopes a sign-in asks for where the server lists them: who the user is
// and a refresh token.
const QStringList WantedScopes{QStringLiteral("openid"), QStringLiteral("email"),
                               QStringLiteral("offline_access")};

QString unreadable(const char* what) {
    return QCoreApplication::translate("brindle::SignIn", "認可サーバーの%1が読めません。")
        .arg(QCoreApplication::translate("brindle::SignIn", what));
}

bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

QString scopeFrom(const QJsonObject& document) {
    const QJsonValue listed = document.value(QStringLiteral("scopes_supported"));
    if (!listed.isArray()) {
        return {};
    }
    QStringList scopes;
    for (const QJsonValue& scope : listed.toArray()) {
        if (WantedScopes.contains(scope.toString()) && !scopes.contains(scope.toString())) {
            scopes << scope.toString();
        }
    }
    return scopes.join(QLatin1Char(' '));
}

} // namespace

bool isAllowedEndpoint(const QUrl& address) {
    if (!address.isValid() || address.host().isEmpty()) {
        return false;
    }
    if (address.scheme() == QLatin1String("https")) {
        return true;
    }
    return address.scheme() == QLatin1String("http") &&
           (address.host() == QLatin1String("localhost") ||
            QHostAddress(address.host()).isLoopback());
}

std::variant<TokenGrant, TokenRefusal, QString> readTokenReply(const JsonReply& reply,
                                                               const QDateTime& now) {
    const QJsonObject& body = reply.body;
    if (!isSuccess(reply.status)) {
        const QString error = body.value(QStringLiteral("error")).toString();
        if (error.isEmpty()) {
            return QCoreApplication::translate(
                       "brindle::SignIn", "認可サーバーがトークンを出しませんでした (HTTP %1)。")
                .arg(reply.status);
        }
        return TokenRefusal{error};
    }
    TokenGrant grant;
    grant.accessToken = body.value(QStringLiteral("access_token")).toString();
    grant.refreshToken = body.value(QStringLiteral("refresh_token")).toString();
    if (grant.accessToken.isEmpty() ||
        body.value(QStringLiteral("token_type"))
                .toString()
                .compare(QLatin1String("bearer"), Qt::CaseInsensitive) != 0) {
        return unreadable(QT_TRANSLATE_NOOP("brindle::SignIn", "トークン"));
    }
    const QJsonValue lifetime = body.value(QStringLiteral("expires_in"));
    if (lifetime.isDouble() || lifetime.isString()) {
        // Read as a number of seconds between none and a year (NaN as none).
        const double seconds =
            lifetime.isDouble() ? lifetime.toDouble() : lifetime.toString().toDouble();
        const double bounded = seconds > 0 ? std::min(seconds, double(LongestLifetimeSeconds)) : 0;
        grant.expiry = now.addSecs(qint64(bounded));
    }
    return grant;
}

std::variant<AuthorizationEndpoints, QString> readDiscoveryDocument(const JsonReply& reply) {
    if (!isSuccess(reply.status)) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "認可サーバーの設定情報がありません (HTTP %1)。")
            .arg(reply.status);
    }
    AuthorizationEndpoints server;
    server.authorizationEndpoint =
        QUrl(reply.body.value(QStringLiteral("authorization_endpoint")).toString());
    server.tokenEndpoint = QUrl(reply.body.value(QStringLiteral("token_endpoint")).toString());
    server.registrationEndpoint =
        QUrl(reply.body.value(QStringLiteral("registration_endpoint")).toString());
    server.scope = scopeFrom(reply.body);
    if (!isAllowedEndpoint(server.authorizationEndpoint) ||
        !isAllowedEndpoint(server.tokenEndpoint)) {
        return unreadable(QT_TRANSLATE_NOOP("brindle::SignIn", "設定情報"));
    }
    if (!isAllowedEndpoint(server.registrationEndpoint)) {
        server.registrationEndpoint.clear();
    }
    return server;
}

std::variant<OAuthClient, QString> readRegistrationReply(const JsonReply& reply) {
    OAuthClient client{reply.body.value(QStringLiteral("client_id")).toString(),
                       reply.body.value(QStringLiteral("client_secret")).toString()};
    if (!isSuccess(reply.status) || client.id.isEmpty()) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "認可サーバーにこのプログラムを登録できませんでした。");
    }
    return client;
}

} // namespace brindle
