#include "signin/AuthorizationServerReplies.h"

#include "signin/KnownProviders.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <optional>

namespace brindle {

namespace {

// Access token lifetimes beyond a year are read as a year.
constexpr qint64 LongestLifetimeSeconds = 365LL * 24 * 3600;
// The scopes a sign-in asks for where the server lists them: who the user is
// and a refresh token.
const QStringList WantedScopes{QStringLiteral("openid"), QStringLiteral("email"),
                               QStringLiteral("offline_access")};
// Addresses of one network or one machine, besides what QHostAddress names.
const std::array<const char*, 9> LocalSubnets{"0.0.0.0/8",     "10.0.0.0/8",     "100.64.0.0/10",
                                              "172.16.0.0/12", "192.168.0.0/16", "198.18.0.0/15",
                                              "fc00::/7",      "fe80::/10",      "fec0::/10"};

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

// The issuer whose document lives at this address: RFC 8414 puts the
// well-known part between host and path, OpenID Connect after the path.
std::optional<QUrl> issuerOf(const QUrl& documentAddress) {
    const QString openid = QStringLiteral("/.well-known/openid-configuration");
    const QString path = documentAddress.path(QUrl::FullyEncoded);
    QUrl issuer =
        documentAddress.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment);
    for (const QString& wellKnown :
         {QStringLiteral("/.well-known/oauth-authorization-server"), openid}) {
        if (path == wellKnown || path.startsWith(wellKnown + QLatin1Char('/'))) {
            issuer.setPath(path.mid(wellKnown.size()), QUrl::StrictMode);
            return issuer;
        }
    }
    if (path.endsWith(openid)) {
        issuer.setPath(path.chopped(openid.size()), QUrl::StrictMode);
        return issuer;
    }
    return std::nullopt;
}

bool isOnHostOf(const QUrl& endpoint, const QUrl& issuer) {
    return endpoint.host().compare(issuer.host(), Qt::CaseInsensitive) == 0;
}

// Why the document cannot be trusted, for the user; empty when it can.
QString distrust(const QJsonObject& body, const AuthorizationEndpoints& server,
                 const QUrl& documentAddress, AddressReach reach) {
    const auto expected = issuerOf(documentAddress);
    const QUrl issuer(server.issuer, QUrl::StrictMode);
    if (!expected || server.issuer.isEmpty() || issuer != *expected) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "認可サーバーの設定情報が、読み込んだ場所 (%1) "
                                           "のサーバーのものではありません。")
            .arg(documentAddress.host());
    }
    if (!isAllowedEndpoint(server.authorizationEndpoint, reach) ||
        !isAllowedEndpoint(server.tokenEndpoint, reach) ||
        !isOnHostOf(server.tokenEndpoint, issuer) ||
        (!server.registrationEndpoint.isEmpty() &&
         (!isAllowedEndpoint(server.registrationEndpoint, reach) ||
          !isOnHostOf(server.registrationEndpoint, issuer)))) {
        return QCoreApplication::translate(
                   "brindle::SignIn",
                   "認可サーバー (%1) の設定情報が、使えないアドレスか別のサーバーを指しています。")
            .arg(issuer.host());
    }
    if (isKnownProviderHost(server.authorizationEndpoint.host())) {
        return QCoreApplication::translate(
                   "brindle::SignIn",
                   "認可サーバー (%1) の設定情報が %2 のサインインページを指しています。"
                   "Google と Microsoft "
                   "には、このプログラムに組み込みの設定でのみサインインします。")
            .arg(issuer.host(), server.authorizationEndpoint.host());
    }
    const QJsonValue methods = body.value(QStringLiteral("code_challenge_methods_supported"));
    if (!methods.isUndefined() && !methods.toArray().contains(QStringLiteral("S256"))) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "認可サーバー (%1) が安全なサインイン (PKCE S256) "
                                           "に対応していません。")
            .arg(issuer.host());
    }
    return {};
}

} // namespace

bool isBearerToken(const QString& token) {
    static const QRegularExpression b64token(QStringLiteral("^[A-Za-z0-9\\-._~+/]+=*$"));
    return b64token.match(token).hasMatch();
}


AddressReach reachFor(const QString& mailHost) {
    return mailHost.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
                   QHostAddress(mailHost).isLoopback()
               ? AddressReach::LocalToo
               : AddressReach::PublicOnly;
}

bool isPublicAddress(const QHostAddress& given) {
    bool isIpv4 = false;
    const quint32 ipv4 = given.toIPv4Address(&isIpv4); // IPv4-mapped IPv6 too
    const QHostAddress address = isIpv4 ? QHostAddress(ipv4) : given;
    if (address.isNull() || address.isLoopback() || address.isLinkLocal() ||
        address.isMulticast() || address.isBroadcast() || address.isUniqueLocalUnicast() ||
        address.isEqual(QHostAddress::AnyIPv6, QHostAddress::StrictConversion)) {
        return false;
    }
    return std::none_of(LocalSubnets.begin(), LocalSubnets.end(), [&](const char* subnet) {
        return address.isInSubnet(QHostAddress::parseSubnet(QString::fromLatin1(subnet)));
    });
}

bool isAllowedEndpoint(const QUrl& address, AddressReach reach) {
    if (!address.isValid() || address.host().isEmpty() || !address.userInfo().isEmpty()) {
        return false;
    }
    const QHostAddress literal(address.host());
    const bool isLocalName =
        address.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
        (!literal.isNull() && !isPublicAddress(literal));
    if (reach == AddressReach::PublicOnly) {
        return address.scheme() == QLatin1String("https") && !isLocalName;
    }
    return address.scheme() == QLatin1String("https") ||
           (address.scheme() == QLatin1String("http") && isLocalName);
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
    if (!isBearerToken(grant.accessToken) ||
        (!grant.refreshToken.isEmpty() && !isBearerToken(grant.refreshToken)) ||
        body.value(QStringLiteral("token_type"))
                .toString()
                .compare(QLatin1String("bearer"), Qt::CaseInsensitive) != 0) {
        return unreadable(QT_TRANSLATE_NOOP("brindle::SignIn", "トークン"));
    }
    // Read as a number of seconds between none and a year (NaN as none); a
    // token of no named lifetime is taken to live an hour, not for ever.
    const QJsonValue lifetime = body.value(QStringLiteral("expires_in"));
    double seconds = double(UnnamedLifetimeSeconds);
    if (lifetime.isDouble() || lifetime.isString()) {
        seconds = lifetime.isDouble() ? lifetime.toDouble() : lifetime.toString().toDouble();
    }
    grant.expiry =
        now.addSecs(qint64(seconds > 0 ? std::min(seconds, double(LongestLifetimeSeconds)) : 0));
    return grant;
}

std::variant<AuthorizationEndpoints, QString>
readDiscoveryDocument(const JsonReply& reply, const QUrl& documentAddress, AddressReach reach) {
    if (!isSuccess(reply.status)) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "認可サーバーの設定情報がありません (HTTP %1)。")
            .arg(reply.status);
    }
    const QJsonObject& body = reply.body;
    const auto address = [&body](const char* name) {
        return QUrl(body.value(QLatin1String(name)).toString(), QUrl::StrictMode);
    };
    AuthorizationEndpoints server;
    server.issuer = body.value(QStringLiteral("issuer")).toString();
    server.authorizationEndpoint = address("authorization_endpoint");
    server.tokenEndpoint = address("token_endpoint");
    server.registrationEndpoint = address("registration_endpoint");
    server.revocationEndpoint = address("revocation_endpoint");
    server.scope = scopeFrom(body);
    server.namesItselfInAnswers =
        body.value(QStringLiteral("authorization_response_iss_parameter_supported")).toBool();
    if (const QString why = distrust(body, server, documentAddress, reach); !why.isEmpty()) {
        return why;
    }
    // Only ever a courtesy: a revocation elsewhere is not asked for.
    if (!isAllowedEndpoint(server.revocationEndpoint, reach) ||
        !isOnHostOf(server.revocationEndpoint, QUrl(server.issuer))) {
        server.revocationEndpoint.clear();
    }
    return server;
}

std::optional<QUrlQuery> redirectQuery(QByteArrayView requestHead) {
    const qsizetype lineEnd = requestHead.indexOf("\r\n");
    const QList<QByteArray> words =
        requestHead.first(lineEnd < 0 ? requestHead.size() : lineEnd).toByteArray().split(' ');
    if (words.size() != 3 || words[0] != "GET" || !words[2].startsWith("HTTP/1.")) {
        return std::nullopt;
    }
    const QUrl target = QUrl::fromEncoded(words[1], QUrl::StrictMode);
    if (!target.isValid() || !target.isRelative() || target.path() != QLatin1String("/")) {
        return std::nullopt;
    }
    return QUrlQuery(target);
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
