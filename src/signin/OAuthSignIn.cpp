#include "signin/OAuthSignIn.h"

#include "mail/MailClient.h"
#include "mail/net/MailServerAddress.h"
#include "signin/AuthorizationServerReplies.h"
#include "signin/BrowserAuthorization.h"
#include "signin/ClientIdPrompt.h"
#include "signin/KnownProviders.h"
#include "signin/SecretStore.h"
#include "signin/SignedInAccount.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace brindle {

namespace {

// The keyring key of the client entered for a provider, kept across sign-ins.
QString clientKey(const AuthorizationEndpoints& server) {
    return QStringLiteral("client %1").arg(server.tokenEndpoint.toString());
}

QByteArray clientSecret(const OAuthClient& client) {
    return QJsonDocument(QJsonObject{{QStringLiteral("client_id"), client.id},
                                     {QStringLiteral("client_secret"), client.secret}})
        .toJson(QJsonDocument::Compact);
}

OAuthClient clientFromSecret(const QByteArray& secret) {
    const QJsonObject object = QJsonDocument::fromJson(secret).object();
    return {object.value(QStringLiteral("client_id")).toString(),
            object.value(QStringLiteral("client_secret")).toString()};
}

QJsonObject registrationRequest(const QString& redirect) {
    return {{QStringLiteral("client_name"), QStringLiteral("Brindle")},
            {QStringLiteral("application_type"), QStringLiteral("native")},
            {QStringLiteral("redirect_uris"), QJsonArray{redirect}},
            {QStringLiteral("grant_types"),
             QJsonArray{QStringLiteral("authorization_code"), QStringLiteral("refresh_token")}},
            {QStringLiteral("response_types"), QJsonArray{QStringLiteral("code")}},
            {QStringLiteral("token_endpoint_auth_method"), QStringLiteral("none")}};
}

BrowserSignIn::Result failed(const QString& text) {
    return {false, text};
}

} // namespace

OAuthSignIn::OAuthSignIn(MailClient& mailClient, UrlOpener& browser, SecretStore& secrets,
                         ClientIdPrompt& clientIdPrompt)
    : mailClient_(mailClient), browser_(browser), secrets_(secrets),
      clientIdPrompt_(clientIdPrompt) {}

BrowserSignIn::Result OAuthSignIn::signIn(const QString& server, const QString& id) {
    const QString key = SignedInAccount::keyFor(server, id);
    // Without a keyring nothing could be kept: say so before the browser opens.
    const auto stored = secrets_.read(key);
    if (const auto* failure = std::get_if<SecretStore::Failure>(&stored)) {
        return failed(failure->text);
    }
    const auto found = findServer(server, id);
    if (const auto* text = std::get_if<QString>(&found)) {
        return failed(*text);
    }
    const auto& authorizationServer = std::get<AuthorizationEndpoints>(found);
    enteredClient_.reset();
    OAuthClient client;
    const auto grant =
        BrowserAuthorization(browser_).run(authorizationServer, [&](const QString& redirect) {
            auto chosen = clientFor(authorizationServer, redirect);
            if (const auto* got = std::get_if<OAuthClient>(&chosen)) {
                client = *got;
            }
            return chosen;
        });
    if (const auto* text = std::get_if<QString>(&grant)) {
        return failed(*text);
    }
    const TokenGrant& tokens = std::get<TokenGrant>(grant);
    const SignedInAccount account{tokens.refreshToken, tokens.accessToken, tokens.expiry,
                                  authorizationServer.tokenEndpoint, client};
    if (const auto failure = secrets_.write(key, account.toSecret())) {
        return failed(failure->text);
    }
    if (enteredClient_) {
        secrets_.write(clientKey(authorizationServer), clientSecret(*enteredClient_));
    }
    return {true, {}};
}

void OAuthSignIn::signOut(const QString& server, const QString& id) {
    secrets_.remove(SignedInAccount::keyFor(server, id));
}

std::variant<AuthorizationEndpoints, QString> OAuthSignIn::findServer(const QString& server,
                                                                      const QString& id) {
    const auto address = MailServerAddress::parse(server);
    if (!address) {
        return QCoreApplication::translate("brindle::SignIn",
                                           "POPサーバーの設定が正しくありません。");
    }
    if (auto known = knownProvider(address->host)) {
        return *known;
    }
    const auto reply = network_.get(discoveryDocument(server, id, address->host));
    if (const auto* text = std::get_if<QString>(&reply)) {
        return *text;
    }
    return readDiscoveryDocument(std::get<JsonReply>(reply));
}

// The document the mail server names when it refuses a login without a token,
// else the standard place on the mail server's host.
QUrl OAuthSignIn::discoveryDocument(const QString& server, const QString& id, const QString& host) {
    if (const auto session = mailClient_.open(server)) {
        // A token the server cannot know: its refusal names the document (an
        // empty one may be refused before that).
        const auto login =
            session->logIn(id, QStringLiteral("none"), MailSession::Authentication::Bearer);
        if (const auto* error = std::get_if<MailError>(&login);
            error && !error->openidConfiguration.isEmpty()) {
            return QUrl(error->openidConfiguration);
        }
    }
    QUrl standard;
    standard.setScheme(QStringLiteral("https"));
    standard.setHost(host);
    standard.setPath(QStringLiteral("/.well-known/openid-configuration"));
    return standard;
}

std::variant<OAuthClient, QString> OAuthSignIn::clientFor(const AuthorizationEndpoints& server,
                                                          const QString& redirect) {
    if (server.registrationEndpoint.isValid()) {
        const auto reply =
            network_.postJson(server.registrationEndpoint, registrationRequest(redirect));
        if (const auto* text = std::get_if<QString>(&reply)) {
            return *text;
        }
        return readRegistrationReply(std::get<JsonReply>(reply));
    }
    const auto remembered = secrets_.read(clientKey(server));
    const auto* secret = std::get_if<QByteArray>(&remembered);
    const std::optional<OAuthClient> entered = clientIdPrompt_.ask(
        server.providerName.isEmpty() ? server.tokenEndpoint.host() : server.providerName,
        secret ? clientFromSecret(*secret) : OAuthClient{});
    if (!entered || entered->id.isEmpty()) {
        return QString(); // the user stopped
    }
    enteredClient_ = entered;
    return *entered;
}

} // namespace brindle
