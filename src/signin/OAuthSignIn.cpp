#include "signin/OAuthSignIn.h"

#include "mail/MailClient.h"
#include "mail/net/MailServerAddress.h"
#include "signin/AuthorizationServerReplies.h"
#include "signin/BoundedNetworkAccess.h"
#include "signin/BrowserAuthorization.h"
#include "signin/KnownProviders.h"
#include "signin/SecretStore.h"
#include "signin/SignInPrompts.h"
#include "signin/SignedInAccount.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

namespace brindle {

namespace {

// The keyring key of the client entered for a built-in provider, kept across
// sign-ins.
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

QString badServerField() {
    return QCoreApplication::translate("brindle::SignIn", "POPサーバーの設定が正しくありません。");
}

// RFC 7009: the refresh token, and with it the access it grants, ends at the
// provider.
QByteArray revocationForm(const SignedInAccount& account) {
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("token"), account.refreshToken);
    form.addQueryItem(QStringLiteral("token_type_hint"), QStringLiteral("refresh_token"));
    form.addQueryItem(QStringLiteral("client_id"), account.client.id);
    if (!account.client.secret.isEmpty()) {
        form.addQueryItem(QStringLiteral("client_secret"), account.client.secret);
    }
    return form.query(QUrl::FullyEncoded).toUtf8();
}

} // namespace

OAuthSignIn::OAuthSignIn(MailClient& mailClient, UrlOpener& browser, SecretStore& secrets,
                         SignInPrompts& prompts, PackagedClients packaged)
    : mailClient_(mailClient), browser_(browser), secrets_(secrets), prompts_(prompts),
      packaged_(std::move(packaged)) {}

BrowserSignIn::Result OAuthSignIn::signIn(const QString& server, const QString& id) {
    const QString key = SignedInAccount::keyFor(server, id);
    // Without a keyring nothing could be kept: say so before the browser opens.
    const auto stored = secrets_.read(key);
    if (const auto* failure = std::get_if<SecretStore::Failure>(&stored)) {
        return failed(failure->text);
    }
    const auto address = MailServerAddress::parse(server);
    if (!address) {
        return failed(badServerField());
    }
    const AddressReach reach = reachFor(address->host);
    BoundedNetworkAccess network(reach);
    const auto found = findServer(server, id, *address, network);
    if (const auto* text = std::get_if<QString>(&found)) {
        return failed(*text);
    }
    const auto& authorizationServer = std::get<AuthorizationEndpoints>(found);
    if (authorizationServer.providerName.isEmpty() &&
        !prompts_.trustAuthorizationServer(QUrl(authorizationServer.issuer).host(),
                                           address->host)) {
        return failed({});
    }
    enteredClient_.reset();
    OAuthClient client;
    const auto grant = BrowserAuthorization(browser_, reach)
                           .run(authorizationServer, [&](const QString& redirect) {
                               auto chosen =
                                   clientFor(authorizationServer, address->host, redirect, network);
                               if (const auto* got = std::get_if<OAuthClient>(&chosen)) {
                                   client = *got;
                               }
                               return chosen;
                           });
    if (const auto* text = std::get_if<QString>(&grant)) {
        return failed(*text);
    }
    const TokenGrant& tokens = std::get<TokenGrant>(grant);
    const SignedInAccount account{tokens.refreshToken,
                                  tokens.accessToken,
                                  tokens.expiry,
                                  authorizationServer.tokenEndpoint,
                                  client,
                                  authorizationServer.revocationEndpoint};
    if (const auto failure = secrets_.write(key, account.toSecret())) {
        return failed(failure->text);
    }
    if (enteredClient_) {
        secrets_.write(clientKey(authorizationServer), clientSecret(*enteredClient_));
    }
    return {true, {}};
}

QString OAuthSignIn::signOut(const QString& server, const QString& id) {
    const QString key = SignedInAccount::keyFor(server, id);
    const auto stored = secrets_.read(key);
    if (const auto* failure = std::get_if<SecretStore::Failure>(&stored)) {
        return failure->text;
    }
    const auto* secret = std::get_if<QByteArray>(&stored);
    const auto account = secret ? SignedInAccount::fromSecret(*secret) : std::nullopt;
    const auto address = MailServerAddress::parse(server);
    if (account && address && !account->revocationEndpoint.isEmpty() &&
        !account->refreshToken.isEmpty()) {
        // Forgotten here even where the provider cannot be reached now.
        BoundedNetworkAccess(reachFor(address->host))
            .postForm(account->revocationEndpoint, revocationForm(*account));
    }
    const auto failure = secrets_.remove(key);
    return failure ? failure->text : QString();
}

std::variant<AuthorizationEndpoints, QString>
OAuthSignIn::findServer(const QString& server, const QString& id, const MailServerAddress& address,
                        BoundedNetworkAccess& network) {
    if (auto known = knownProvider(address.host, packaged_)) {
        return *known;
    }
    const QUrl document = discoveryDocument(server, id, address.host);
    const auto reply = network.get(document);
    if (const auto* text = std::get_if<QString>(&reply)) {
        return *text;
    }
    return readDiscoveryDocument(std::get<JsonReply>(reply), document, reachFor(address.host));
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
                                                          const QString& mailHost,
                                                          const QString& redirect,
                                                          BoundedNetworkAccess& network) {
    if (server.registrationEndpoint.isValid()) {
        const auto reply =
            network.postJson(server.registrationEndpoint, registrationRequest(redirect));
        if (const auto* text = std::get_if<QString>(&reply)) {
            return *text;
        }
        return readRegistrationReply(std::get<JsonReply>(reply));
    }
    // Only a built-in provider's endpoints are surely the provider's: a
    // client kept for them is never offered to a server that copies them.
    const bool builtIn = !server.providerName.isEmpty();
    if (builtIn && !server.packagedClient.id.isEmpty()) {
        return server.packagedClient;
    }
    OAuthClient previous;
    if (builtIn) {
        const auto remembered = secrets_.read(clientKey(server));
        if (const auto* secret = std::get_if<QByteArray>(&remembered)) {
            previous = clientFromSecret(*secret);
        }
    }
    const std::optional<OAuthClient> entered = prompts_.askClientId(
        builtIn ? server.providerName : QUrl(server.issuer).host(), mailHost, previous);
    if (!entered || entered->id.isEmpty()) {
        return QString(); // the user stopped
    }
    if (builtIn) {
        enteredClient_ = entered;
    }
    return *entered;
}

} // namespace brindle
