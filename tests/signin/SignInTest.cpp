#include "signin/BoundedNetworkAccess.h"
#include "signin/KeyringAccessTokens.h"
#include "signin/KnownProviders.h"
#include "signin/OAuthSignIn.h"
#include "signin/SignedInAccount.h"
#include "support/AuthorizationServer.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMailServer.h"

#include <QJsonDocument>
#include <QNetworkReply>
#include <QScopeGuard>
#include <QTimer>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// A person's browser that consents: goes to the address, or where the test
// sends it instead, one page after the other, following every redirect.
class FollowingBrowser : public UrlOpener {
public:
    bool open(const QUrl& address) override {
        opened << address;
        if (starts) {
            visit(goesTo ? goesTo(address) : QList<QUrl>{address});
        }
        return starts;
    }
    std::function<QList<QUrl>(const QUrl&)> goesTo;
    bool starts = true; // false: no browser can be started
    QList<QUrl> opened;
    QStringList pages; // what it showed, in turn

private:
    void visit(QList<QUrl> addresses) {
        if (addresses.isEmpty()) {
            return;
        }
        QNetworkRequest request(addresses.takeFirst());
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        QNetworkReply* reply = network_.get(request);
        QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, addresses] {
            pages << QString::fromUtf8(reply->readAll());
            reply->deleteLater();
            visit(addresses);
        });
    }

    QNetworkAccessManager network_;
};

template <typename Row> std::string rowName(const ::testing::TestParamInfo<Row>& row) {
    return row.param.name;
}

QUrl withQueryItem(QUrl address, const QString& name, const QString& value) {
    QUrlQuery query(address);
    query.removeAllQueryItems(name);
    query.addQueryItem(name, value);
    address.setQuery(query);
    return address;
}

// The test authorization server, a mail server that names its discovery
// document when it refuses a login, and a keyring in memory.
class SignInTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new AuthorizationServer;
        ASSERT_TRUE(server_->start());
    }
    static void TearDownTestSuite() { delete server_; }

    SignInTest() {
        mail.errorText = QStringLiteral("no token");
        mail.openidConfiguration = server_->discoveryUrl();
        server_->setLifetime(3600);
    }

    std::optional<SignedInAccount> stored() {
        const auto found = secrets.secrets.find(SignedInAccount::keyFor(field, id));
        return found == secrets.secrets.end() ? std::nullopt
                                              : SignedInAccount::fromSecret(found->second);
    }
    // Signs in without the browser: the server's tokens, expiring in lifetime seconds.
    void storeTokens(int lifetime, const char* client = AuthorizationServer::clientId) {
        server_->setLifetime(lifetime);
        const QJsonObject tokens = server_->issueTokens();
        secrets.secrets[SignedInAccount::keyFor(field, id)] = SignedInAccount{
            tokens[QStringLiteral("refresh_token")].toString(),
            tokens[QStringLiteral("access_token")].toString(),
            QDateTime::currentDateTimeUtc().addSecs(lifetime),
            QUrl(server_->url(QStringLiteral("/token"))),
            {QString::fromLatin1(client), {}}}.toSecret();
    }
    bool isActive(const QString& token) {
        return server_
            ->call(QStringLiteral("/introspect"),
                   QUrlQuery{{QStringLiteral("token"), token}})[QStringLiteral("active")]
            .toBool();
    }

    static AuthorizationServer* server_;
    const QString field = QStringLiteral("imaps://127.0.0.1:993");
    const QString id = QString::fromLatin1(AuthorizationServer::user);
    FakeMailClient mail;
    FakeSecretStore secrets;
    FollowingBrowser browser;
    FakeSignInPrompts prompt;
    OAuthSignIn signIn{mail, browser, secrets, prompt};
};

AuthorizationServer* SignInTest::server_ = nullptr;

TEST_F(SignInTest, WithoutRegistrationTheUsersClientIdIsAskedForAndNotOfferedToOthers) {
    // A discovery document without a registration endpoint, of a server
    // whose endpoints are the test server's (its answers name this issuer).
    ScriptedMailServer discovery;
    const QString issuer = QStringLiteral("http://127.0.0.1:%1").arg(discovery.port());
    const QByteArray document =
        QJsonDocument(
            QJsonObject{{QStringLiteral("issuer"), issuer},
                        {QStringLiteral("authorization_endpoint"),
                         server_->url(QStringLiteral("/authorize?test_iss=") + issuer)},
                        {QStringLiteral("token_endpoint"), server_->url(QStringLiteral("/token"))}})
            .toJson(QJsonDocument::Compact);
    discovery.say("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Type: application/json\r\n"
                  "Content-Length: " +
                  QByteArray::number(document.size()) + "\r\n\r\n" + document);
    discovery.start();
    mail.openidConfiguration = issuer + QStringLiteral("/.well-known/openid-configuration");
    const OAuthClient entered{QString::fromLatin1(AuthorizationServer::clientId), {}};
    prompt.answer = entered;

    const BrowserSignIn::Result result = signIn.signIn(field, id);
    ASSERT_TRUE(result.signedIn) << result.text.toStdString();
    // The user agreed to the server the mail server named, then gave a client.
    EXPECT_EQ(prompt.asked,
              (QStringList{QStringLiteral("trust 127.0.0.1 for 127.0.0.1"),
                           QStringLiteral("client for 127.0.0.1 for 127.0.0.1, shown ")}));
    EXPECT_EQ(stored()->client.id, entered.id);
    EXPECT_EQ(secrets.secrets.size(), 1u); // kept only for the built-in providers
}

// A built-in provider: the mail server is not asked, the client kept for the
// provider is offered, and one built into the program is used without asking.
TEST_F(SignInTest, ABuiltInProvidersClientIsOfferedOrBuiltIn) {
    const QString gmail = QStringLiteral("imaps://imap.gmail.com");
    secrets.secrets[QStringLiteral("client https://oauth2.googleapis.com/token")] =
        R"({"client_id":"mine","client_secret":"s"})";
    browser.starts = false;
    prompt.answer = OAuthClient{QStringLiteral("mine"), QStringLiteral("s")};
    OAuthSignIn packaged{mail, browser, secrets, prompt,
                         PackagedClients{{QStringLiteral("packaged"), QStringLiteral("s")}, {}}};

    for (OAuthSignIn* tried : {&signIn, &packaged}) {
        EXPECT_TRUE(tried->signIn(gmail, id).text.contains(QStringLiteral("ウェブブラウザ")));
    }
    EXPECT_EQ(prompt.asked,
              QStringList{QStringLiteral("client for Google for imap.gmail.com, shown mine")});
    EXPECT_TRUE(mail.calls.isEmpty()); // no refused login to find the server
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(QUrlQuery(browser.opened[1]).queryItemValue(QStringLiteral("client_id")),
              QStringLiteral("packaged"));
}

// A page or program that answers the listener with another state is shown a
// page and ignored; the browser's own answer then signs in.
TEST_F(SignInTest, AnAnswerOfAnotherSignInIsIgnoredAndTheRightOneSignsIn) {
    QString state;
    browser.goesTo = [&state](const QUrl& address) {
        const QUrlQuery asked(address);
        state = asked.queryItemValue(QStringLiteral("state"));
        QUrl forged(asked.queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
        forged.setQuery(QStringLiteral("state=forged&code=stolen"));
        return QList<QUrl>{forged, address};
    };

    ASSERT_TRUE(signIn.signIn(field, id).signedIn);
    EXPECT_GE(state.size(), 43); // 32 random bytes
    ASSERT_EQ(browser.pages.size(), 2);
    EXPECT_TRUE(browser.pages[0].contains(QStringLiteral("完了しませんでした")));
    EXPECT_TRUE(browser.pages[1].contains(QStringLiteral("受け取りました")));
    EXPECT_FALSE(stored()->revocationEndpoint.isEmpty());
}

TEST_F(SignInTest, SigningOutRevokesTheRefreshTokenEmptiesTheKeyringAndSaysWhenItCannot) {
    ASSERT_TRUE(signIn.signIn(field, id).signedIn);
    const int revocations = server_->count(QStringLiteral("revocation"));
    secrets.failure = SecretStore::Failure{QStringLiteral("キーリングなし")};
    EXPECT_EQ(signIn.signOut(field, id), QStringLiteral("キーリングなし"));
    secrets.failure.reset();

    EXPECT_EQ(signIn.signOut(field, id), QString());
    EXPECT_TRUE(secrets.secrets.empty());
    EXPECT_EQ(server_->count(QStringLiteral("revocation")), revocations + 1);
}

// Where a browser goes when the person refuses: back with an error.
QList<QUrl> refused(const QUrl& address) {
    const QUrlQuery asked(address);
    const QUrl back(asked.queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
    return {withQueryItem(
        withQueryItem(back, QStringLiteral("state"), asked.queryItemValue(QStringLiteral("state"))),
        QStringLiteral("error"), QStringLiteral("access_denied"))};
}

// The authorization server's answer names another server (RFC 9207).
QList<QUrl> answeredByAnother(const QUrl& address) {
    return {withQueryItem(address, QStringLiteral("test_iss"), QStringLiteral("http://127.0.0.9"))};
}

// A sign-in that goes wrong says why and leaves nothing in the keyring.
struct FailedSignIn {
    const char* name;
    std::function<QList<QUrl>(const QUrl&)> browserGoesTo = {}; // empty: never opened
    const char* discovery =
        ""; // the document the mail server names: a path on the test server or a URL
    const char* textPart = "";
    int documentsRead = 1;
    bool keyringDown = false;
    bool trusted = true; // the user's answer to the mail server's choice
    const char* field = "imaps://127.0.0.1:993";
};

void PrintTo(const FailedSignIn& row, std::ostream* out) {
    *out << row.name;
}

class FailedSignInTest : public SignInTest, public ::testing::WithParamInterface<FailedSignIn> {};

TEST_P(FailedSignInTest, SaysWhyAndStoresNothing) {
    const FailedSignIn& row = GetParam();
    browser.goesTo = row.browserGoesTo;
    prompt.trust = row.trusted;
    const QString discovery = QString::fromLatin1(row.discovery);
    if (!discovery.isEmpty()) {
        mail.openidConfiguration =
            discovery.startsWith(QStringLiteral("http")) ? discovery : server_->url(discovery);
    }
    if (row.keyringDown) {
        secrets.failure = SecretStore::Failure{QStringLiteral("キーリングなし")};
    }
    const int documents = server_->count(QStringLiteral("discovery"));
    const BrowserSignIn::Result result = signIn.signIn(QString::fromLatin1(row.field), id);
    EXPECT_FALSE(result.signedIn);
    EXPECT_TRUE(result.text.contains(QString::fromUtf8(row.textPart))) << result.text.toStdString();
    EXPECT_EQ(browser.opened.isEmpty(), !row.browserGoesTo);
    EXPECT_EQ(server_->count(QStringLiteral("discovery")) - documents, row.documentsRead);
    secrets.failure.reset();
    EXPECT_TRUE(secrets.secrets.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedSignInTest,
    ::testing::Values(
        FailedSignIn{
            .name = "ConsentRefused", .browserGoesTo = refused, .textPart = "access_denied"},
        FailedSignIn{.name = "AnswerNamesAnotherServer",
                     .browserGoesTo = answeredByAnother,
                     .textPart = "別の認可サーバー"},
        FailedSignIn{.name = "NoKeyring",
                     .textPart = "キーリングなし",
                     .documentsRead = 0,
                     .keyringDown = true},
        FailedSignIn{.name = "UserDoesNotTrustTheServer", .trusted = false},
        FailedSignIn{.name = "NoDiscoveryDocument",
                     .discovery = "/elsewhere/openid-configuration",
                     .textPart = "設定情報",
                     .documentsRead = 0},
        FailedSignIn{.name = "DiscoveryOverPlainHttpElsewhere",
                     .discovery = "http://auth.example/.well-known/openid-configuration",
                     .textPart = "https",
                     .documentsRead = 0},
        FailedSignIn{.name = "RemoteMailServerNamesThisMachine",
                     .textPart = "https",
                     .documentsRead = 0,
                     .field = "imaps://mail.example.org"},
        FailedSignIn{.name = "ForeignTokenEndpoint",
                     .discovery = "/foreign-token/.well-known/openid-configuration",
                     .textPart = "別のサーバー"},
        FailedSignIn{.name = "ForeignRegistration",
                     .discovery = "/foreign-registration/.well-known/openid-configuration",
                     .textPart = "別のサーバー"},
        FailedSignIn{.name = "WrongIssuer",
                     .discovery = "/wrong-issuer/.well-known/openid-configuration",
                     .textPart = "のサーバーのものではありません"},
        FailedSignIn{.name = "ProvidersSignInPage",
                     .discovery = "/provider-page/.well-known/openid-configuration",
                     .textPart = "login.microsoftonline.com"},
        FailedSignIn{.name = "NoS256",
                     .discovery = "/no-s256/.well-known/openid-configuration",
                     .textPart = "S256"}),
    rowName<FailedSignIn>);

// The access token as a check asks for it: kept while it lives, refreshed
// shortly before it expires or when the mail server refused it, and a refresh
// token the provider calls invalid ends the sign-in once.
struct Refresh {
    const char* name;
    int lifetime;
    int refreshes;              // requests to the token endpoint over two calls
    bool newToken;              // a refresh gave another token
    const char* errorPart = ""; // both calls fail with this; empty: they give a token
    bool keptAfter = true;      // the keyring still holds the account
    bool revoked = false;
    AccessTokens::Refresh asked = AccessTokens::Refresh::WhenDue;
    const char* client = AuthorizationServer::clientId;
};

void PrintTo(const Refresh& row, std::ostream* out) {
    *out << row.name;
}

class RefreshTest : public SignInTest, public ::testing::WithParamInterface<Refresh> {};

TEST_P(RefreshTest, TwoChecksInARow) {
    const Refresh& row = GetParam();
    storeTokens(row.lifetime, row.client);
    const QString before = stored()->accessToken;
    if (row.revoked) {
        server_->revoke();
    }
    server_->setLifetime(3600);
    const int refreshes = server_->count(QStringLiteral("token"));
    KeyringAccessTokens tokens(secrets);

    const auto first = tokens.accessToken(field, id, row.asked);
    const auto second = tokens.accessToken(field, id, AccessTokens::Refresh::WhenDue);

    EXPECT_EQ(server_->count(QStringLiteral("token")) - refreshes, row.refreshes);
    EXPECT_EQ(stored().has_value(), row.keptAfter);
    if (*row.errorPart) {
        for (const auto& answer : {first, second}) {
            ASSERT_TRUE(std::holds_alternative<MailError>(answer));
            EXPECT_TRUE(std::get<MailError>(answer).text.contains(QString::fromUtf8(row.errorPart)))
                << std::get<MailError>(answer).text.toStdString();
        }
        return;
    }
    ASSERT_TRUE(std::holds_alternative<QString>(first));
    EXPECT_EQ(std::get<QString>(second), std::get<QString>(first));
    EXPECT_EQ(std::get<QString>(first) != before, row.newToken);
    EXPECT_TRUE(isActive(std::get<QString>(first)));
    EXPECT_EQ(stored()->accessToken, std::get<QString>(first));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefreshTest,
    ::testing::Values(Refresh{"Living", 3600, 0, false}, Refresh{"NotYetDue", 120, 0, false},
                      Refresh{"AboutToExpire", 30, 1, true},
                      Refresh{.name = "RefusedByTheMailServer",
                              .lifetime = 3600,
                              .refreshes = 1,
                              .newToken = true,
                              .asked = AccessTokens::Refresh::Now},
                      Refresh{"Revoked", 30, 1, false, "もう一度サインイン", false, true},
                      Refresh{.name = "ProviderRefusesForAnotherReason",
                              .lifetime = 30,
                              .refreshes = 2,
                              .newToken = false,
                              .errorPart = "invalid_client",
                              .client = "unknown"}),
    rowName<Refresh>);

// A push reconnecting while a check's refresh waits for its answer spends no
// second refresh: the provider rotates refresh tokens, and would refuse it.
TEST_F(SignInTest, ARefreshUnderWayIsNotRepeated) {
    server_->rotate(true);
    const auto rotating = qScopeGuard([] { server_->rotate(false); });
    storeTokens(30);
    const QString before = stored()->accessToken;
    const int refreshes = server_->count(QStringLiteral("refresh"));
    KeyringAccessTokens tokens(secrets);
    std::optional<std::variant<QString, MailError>> during;
    QTimer::singleShot(
        0, [&] { during = tokens.accessToken(field, id, AccessTokens::Refresh::WhenDue); });

    const auto refreshed = tokens.accessToken(field, id, AccessTokens::Refresh::WhenDue);

    EXPECT_EQ(server_->count(QStringLiteral("refresh")) - refreshes, 1);
    ASSERT_TRUE(during && std::holds_alternative<QString>(*during));
    EXPECT_EQ(std::get<QString>(*during), before); // still living
    ASSERT_TRUE(std::holds_alternative<QString>(refreshed));
    EXPECT_EQ(stored()->accessToken, std::get<QString>(refreshed));
    EXPECT_TRUE(isActive(std::get<QString>(refreshed)));
}

// What a token endpoint's answer gives: tokens of the bearer grammar only,
// a lifetime between none and a year, an hour where none is named.
struct TokenReply {
    const char* name;
    const char* body;
    qint64 lifetime; // -1: refused as unreadable
};

void PrintTo(const TokenReply& row, std::ostream* out) {
    *out << row.name;
}

class TokenReplyTest : public ::testing::TestWithParam<TokenReply> {};

TEST_P(TokenReplyTest, GivesCheckedTokens) {
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
    const auto answer =
        readTokenReply({200, QJsonDocument::fromJson(GetParam().body).object()}, now);
    if (GetParam().lifetime < 0) {
        EXPECT_TRUE(std::holds_alternative<QString>(answer));
        return;
    }
    ASSERT_TRUE(std::holds_alternative<TokenGrant>(answer));
    EXPECT_EQ(now.secsTo(std::get<TokenGrant>(answer).expiry), GetParam().lifetime);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TokenReplyTest,
    ::testing::Values(
        TokenReply{"Bearer",
                   R"({"access_token":"a.b-c_~+/=","token_type":"bearer","expires_in":60})", 60},
        TokenReply{"NoLifetime", R"({"access_token":"a","token_type":"Bearer"})", 3600},
        TokenReply{"AbsurdLifetime",
                   R"({"access_token":"a","token_type":"Bearer","expires_in":1e15})",
                   365LL * 24 * 3600},
        TokenReply{"NotBearer", R"({"access_token":"a","token_type":"mac","expires_in":60})", -1},
        TokenReply{"ControlCharacter",
                   R"({"access_token":"ahost=mallory.invalid","token_type":"Bearer"})", -1},
        TokenReply{"LineBreak", R"({"access_token":"a
b","token_type":"Bearer"})",
                   -1},
        TokenReply{"Space", R"({"access_token":"a b","token_type":"Bearer"})", -1},
        TokenReply{"RefreshTokenWithSpace",
                   R"({"access_token":"a","refresh_token":"r t","token_type":"Bearer"})", -1}),
    rowName<TokenReply>);

// Whatever an authorization server answers, a request ends with its JSON or
// with words for the user, within its limit.
struct BadAnswer {
    const char* name;
    QByteArray reply; // empty: the server never answers
    const char* textPart;
    bool listening = true;
    // Said after the reply again and again, up to EndlessBytes; read no further
    // than the limit, whatever the headers announce.
    QByteArray repeated = {};
};

constexpr qint64 EndlessBytes = 256 << 20;

void PrintTo(const BadAnswer& row, std::ostream* out) {
    *out << row.name;
}

class BadAnswerTest : public ::testing::TestWithParam<BadAnswer> {};

TEST_P(BadAnswerTest, EndsWithAText) {
    ScriptedMailServer server;
    if (!GetParam().repeated.isEmpty()) {
        server.say(GetParam().reply).sayRepeatedly(GetParam().repeated, EndlessBytes);
    } else if (!GetParam().reply.isEmpty()) {
        server.say(GetParam().reply).hangUp();
    }
    if (GetParam().listening) {
        server.start();
    }
    BoundedNetworkAccess network(AddressReach::LocalToo, 1000);
    const quint16 port = GetParam().listening ? server.port() : 1;
    const auto answer = network.get(QUrl(QStringLiteral("http://127.0.0.1:%1/doc").arg(port)));
    ASSERT_TRUE(std::holds_alternative<QString>(answer));
    EXPECT_TRUE(std::get<QString>(answer).contains(QString::fromUtf8(GetParam().textPart)))
        << std::get<QString>(answer).toStdString();
    if (!GetParam().repeated.isEmpty()) {
        // What the system's buffers hold, not the whole answer.
        EXPECT_LT(server.repeatedBytesTaken(), EndlessBytes / 8);
    }
}

const QByteArray okHeader =
    "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, BadAnswerTest,
    ::testing::Values(
        BadAnswer{"Silent", {}, "時間内に応答しませんでした"},
        BadAnswer{"HugeBodyAnnounced",
                  okHeader + "Content-Length: 70000\r\n\r\n" + QByteArray(70000, ' '),
                  "大きすぎます"},
        BadAnswer{"HugeBodyUnannounced",
                  okHeader + "\r\n{\"a\":\"" + QByteArray(70000, 'a') + "\"}", "大きすぎます"},
        BadAnswer{"EndlessChunks", okHeader + "Transfer-Encoding: chunked\r\n\r\n", "大きすぎます",
                  true, "10000\r\n" + QByteArray(0x10000, 'a') + "\r\n"},
        BadAnswer{"NotJson", okHeader + "Content-Length: 5\r\n\r\nhello", "読めません"},
        BadAnswer{"NoBody", okHeader + "Content-Length: 0\r\n\r\n", "読めません"},
        BadAnswer{"RedirectElsewhere",
                  "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.2:1/doc\r\n"
                  "Content-Length: 0\r\n\r\n",
                  "別の場所へ転送"},
        BadAnswer{"NobodyListens", "", "接続できませんでした", false}),
    rowName<BadAnswer>);

struct Provider {
    const char* host;
    const char* name; // empty: not a known provider
};

void PrintTo(const Provider& row, std::ostream* out) {
    *out << row.host;
}

class KnownProviderTest : public ::testing::TestWithParam<Provider> {};

TEST_P(KnownProviderTest, ChosenByTheMailHost) {
    const auto provider = knownProvider(QString::fromLatin1(GetParam().host));
    EXPECT_EQ(provider ? provider->providerName : QString(), QString::fromLatin1(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KnownProviderTest,
    ::testing::Values(Provider{"imap.gmail.com", "Google"}, Provider{"POP.GMAIL.COM", "Google"},
                      Provider{"outlook.office365.com", "Microsoft"},
                      Provider{"imap-mail.outlook.com", "Microsoft"}, Provider{"notgmail.com", ""},
                      Provider{"gmail.com.example.net", ""}, Provider{"mail.example.org", ""}));

} // namespace
} // namespace brindle::test
