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
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// A person's browser that consents: follows the address and every redirect,
// after the test's change to the address (if any).
class FollowingBrowser : public UrlOpener {
public:
    bool open(const QUrl& address) override {
        opened << address;
        QNetworkRequest request(change ? change(address) : address);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        QNetworkReply* reply = network_.get(request);
        QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
        return true;
    }
    std::function<QUrl(QUrl)> change;
    QList<QUrl> opened;

private:
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
    void storeTokens(int lifetime) {
        server_->setLifetime(lifetime);
        const QJsonObject tokens = server_->issueTokens();
        secrets.secrets[SignedInAccount::keyFor(field, id)] = SignedInAccount{
            tokens[QStringLiteral("refresh_token")].toString(),
            tokens[QStringLiteral("access_token")].toString(),
            QDateTime::currentDateTimeUtc().addSecs(lifetime),
            QUrl(server_->url(QStringLiteral("/token"))),
            {QString::fromLatin1(AuthorizationServer::clientId),
             {}}}.toSecret();
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
    FakeClientIdPrompt prompt;
    OAuthSignIn signIn{mail, browser, secrets, prompt};
};

AuthorizationServer* SignInTest::server_ = nullptr;

TEST_F(SignInTest, WithoutRegistrationTheUsersClientIdIsAskedForAndOfferedNextTime) {
    // A discovery document without a registration endpoint.
    ScriptedMailServer discovery;
    const QByteArray document =
        QJsonDocument(
            QJsonObject{{QStringLiteral("authorization_endpoint"),
                         server_->url(QStringLiteral("/authorize"))},
                        {QStringLiteral("token_endpoint"), server_->url(QStringLiteral("/token"))}})
            .toJson(QJsonDocument::Compact);
    discovery.say("HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Type: application/json\r\n"
                  "Content-Length: " +
                  QByteArray::number(document.size()) + "\r\n\r\n" + document);
    discovery.start();
    mail.openidConfiguration = QStringLiteral("http://127.0.0.1:%1/doc").arg(discovery.port());
    const OAuthClient entered{QString::fromLatin1(AuthorizationServer::clientId), {}};
    prompt.answer = entered;

    ASSERT_TRUE(signIn.signIn(field, id).signedIn);
    EXPECT_EQ(prompt.asked, QStringList{QStringLiteral("127.0.0.1")});
    EXPECT_EQ(stored()->client.id, entered.id);
    const auto kept =
        secrets.secrets.find(QStringLiteral("client ") + server_->url(QStringLiteral("/token")));
    ASSERT_NE(kept, secrets.secrets.end());
    EXPECT_TRUE(kept->second.contains(entered.id.toUtf8()));
}

// Where a browser goes that brings back another sign-in's answer.
QUrl withForgedState(const QUrl& address) {
    return withQueryItem(address, QStringLiteral("state"), QStringLiteral("forged"));
}

// Where a browser goes when the person refuses: back with an error.
QUrl refused(const QUrl& address) {
    const QUrlQuery asked(address);
    const QUrl back(asked.queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
    return withQueryItem(
        withQueryItem(back, QStringLiteral("state"), asked.queryItemValue(QStringLiteral("state"))),
        QStringLiteral("error"), QStringLiteral("access_denied"));
}

// A sign-in that goes wrong says why and leaves nothing in the keyring.
struct FailedSignIn {
    const char* name;
    std::function<QUrl(const QUrl&)> browserGoesTo; // empty: the browser is never opened
    const char* discovery; // the document the mail server names: a path on the test server or a URL
    bool keyringDown;
    const char* textPart;
};

void PrintTo(const FailedSignIn& row, std::ostream* out) {
    *out << row.name;
}

class FailedSignInTest : public SignInTest, public ::testing::WithParamInterface<FailedSignIn> {};

TEST_P(FailedSignInTest, SaysWhyAndStoresNothing) {
    const FailedSignIn& row = GetParam();
    browser.change = row.browserGoesTo;
    const QString discovery = QString::fromLatin1(row.discovery);
    if (!discovery.isEmpty()) {
        mail.openidConfiguration =
            discovery.startsWith(QStringLiteral("http")) ? discovery : server_->url(discovery);
    }
    if (row.keyringDown) {
        secrets.failure = SecretStore::Failure{QStringLiteral("キーリングなし")};
    }
    const BrowserSignIn::Result result = signIn.signIn(field, id);
    EXPECT_FALSE(result.signedIn);
    EXPECT_TRUE(result.text.contains(QString::fromUtf8(row.textPart))) << result.text.toStdString();
    EXPECT_EQ(browser.opened.isEmpty(), !row.browserGoesTo);
    secrets.failure.reset();
    EXPECT_TRUE(secrets.secrets.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedSignInTest,
    ::testing::Values(
        FailedSignIn{"AnswerOfAnotherSignIn", withForgedState, "", false,
                     "このサインインのものではありません"},
        FailedSignIn{"ConsentRefused", refused, "", false, "access_denied"},
        FailedSignIn{"NoKeyring", {}, "", true, "キーリングなし"},
        FailedSignIn{
            "NoDiscoveryDocument", {}, "/elsewhere/openid-configuration", false, "設定情報"},
        FailedSignIn{"DiscoveryOverPlainHttpElsewhere",
                     {},
                     "http://auth.example/.well-known/openid-configuration",
                     false,
                     "https"}),
    rowName<FailedSignIn>);

// The access token as a check asks for it: kept while it lives, refreshed
// shortly before it expires, and a refused refresh ends the sign-in once.
struct Refresh {
    const char* name;
    int lifetime;
    bool revoked;
    bool newToken;  // a refresh gave another token
    int refreshes;  // requests to the token endpoint over two calls
    bool keptAfter; // the keyring still holds the account
};

void PrintTo(const Refresh& row, std::ostream* out) {
    *out << row.name;
}

class RefreshTest : public SignInTest, public ::testing::WithParamInterface<Refresh> {};

TEST_P(RefreshTest, TwoChecksInARow) {
    storeTokens(GetParam().lifetime);
    const QString before = stored()->accessToken;
    if (GetParam().revoked) {
        server_->revoke();
    }
    server_->setLifetime(3600);
    const int refreshes = server_->count(QStringLiteral("refresh"));
    KeyringAccessTokens tokens(secrets);

    const auto first = tokens.accessToken(field, id);
    const auto second = tokens.accessToken(field, id);

    EXPECT_EQ(server_->count(QStringLiteral("refresh")) - refreshes, GetParam().refreshes);
    EXPECT_EQ(stored().has_value(), GetParam().keptAfter);
    if (GetParam().revoked) {
        for (const auto& answer : {first, second}) {
            ASSERT_TRUE(std::holds_alternative<MailError>(answer));
            EXPECT_TRUE(
                std::get<MailError>(answer).text.contains(QStringLiteral("もう一度サインイン")));
        }
        return;
    }
    ASSERT_TRUE(std::holds_alternative<QString>(first));
    EXPECT_EQ(std::get<QString>(second), std::get<QString>(first));
    EXPECT_EQ(std::get<QString>(first) != before, GetParam().newToken);
    EXPECT_TRUE(isActive(std::get<QString>(first)));
    EXPECT_EQ(stored()->accessToken, std::get<QString>(first));
}

INSTANTIATE_TEST_SUITE_P(Cases, RefreshTest,
                         ::testing::Values(Refresh{"Living", 3600, false, false, 0, true},
                                           Refresh{"AboutToExpire", 30, false, true, 1, true},
                                           Refresh{"Revoked", 30, true, false, 1, false}),
                         rowName<Refresh>);

// Whatever an authorization server answers, a request ends with its JSON or
// with words for the user, within its limit.
struct BadAnswer {
    const char* name;
    QByteArray reply; // empty: the server never answers
    const char* textPart;
    bool listening = true;
};

void PrintTo(const BadAnswer& row, std::ostream* out) {
    *out << row.name;
}

class BadAnswerTest : public ::testing::TestWithParam<BadAnswer> {};

TEST_P(BadAnswerTest, EndsWithAText) {
    ScriptedMailServer server;
    if (!GetParam().reply.isEmpty()) {
        server.say(GetParam().reply).hangUp();
    }
    if (GetParam().listening) {
        server.start();
    }
    BoundedNetworkAccess network(1000);
    const quint16 port = GetParam().listening ? server.port() : 1;
    const auto answer = network.get(QUrl(QStringLiteral("http://127.0.0.1:%1/doc").arg(port)));
    ASSERT_TRUE(std::holds_alternative<QString>(answer));
    EXPECT_TRUE(std::get<QString>(answer).contains(QString::fromUtf8(GetParam().textPart)))
        << std::get<QString>(answer).toStdString();
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
