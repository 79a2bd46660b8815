#include "mail/AccessTokens.h"
#include "mail/MailCheck.h"
#include "mail/ServerFieldMailClient.h"
#include "settings/core/MailboxList.h"
#include "settings/core/SharedSettings.h"
#include "signin/KeyringMailboxPasswords.h"
#include "support/AuthorizationServer.h"
#include "support/DovecotServer.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"
#include "support/TestCertificates.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

// Tokens fresh from the test authorization server, or the refusal the test sets.
class IssuedTokens : public AccessTokens {
public:
    explicit IssuedTokens(AuthorizationServer& server) : server_(server) {}
    std::variant<QString, MailError> accessToken(const QString&, const QString& id,
                                                 Refresh refresh) override {
        ++asked;
        EXPECT_EQ(id, QString::fromLatin1(DovecotServer::user));
        if (refusal) {
            return *refusal;
        }
        if (staleUntilRefreshed && refresh == Refresh::WhenDue) {
            return QStringLiteral("revoked-but-not-yet-expired");
        }
        last = server_.issueTokens().value(QLatin1String("access_token")).toString();
        return last;
    }
    std::optional<MailError> refusal;
    bool staleUntilRefreshed = false; // the kept token is one the server refuses
    QString last;
    int asked = 0;

private:
    AuthorizationServer& server_;
};

struct Setup {
    const char* name;
    QString mechanisms; // what Dovecot offers besides PLAIN and APOP
};

// Dovecot over TLS whose OAuth 2.0 tokens come from the test authorization
// server, and a mail check of an account that signs in with OAuth 2.0.
class OAuthDovecot : public ::testing::TestWithParam<Setup> {
protected:
    void SetUp() override {
        ASSERT_TRUE(certificates_.isValid());
        ASSERT_TRUE(certificates_.issue("server", {"DNS:localhost", "IP:127.0.0.1"}));
        previousTrust_ = qgetenv("SSL_CERT_FILE");
        qputenv("SSL_CERT_FILE", QFile::encodeName(certificates_.authorityFile()));
        ASSERT_TRUE(authorization.start());
        server.enableTls(certificates_.certificateFile("server"), certificates_.keyFile("server"));
        server.enableOAuth(authorization.url(QStringLiteral("/introspect")),
                           authorization.discoveryUrl(), GetParam().mechanisms);
        for (int number : {1, 2}) {
            server.deliver("Subject: note " + QByteArray::number(number) + "\r\n\r\nline\r\n");
        }
        ASSERT_TRUE(server.start());
        folder_.makeFolder(QStringLiteral("★MailData"));
        folder_.write(QStringLiteral("★MailData/iniIdPass.ini"),
                      "[EXEINI]\r\nNAME=alice\r\nAUTH=OAUTH2\r\n");
    }
    void TearDown() override {
        if (previousTrust_.isNull()) {
            qunsetenv("SSL_CERT_FILE");
        } else {
            qputenv("SSL_CERT_FILE", previousTrust_);
        }
    }
    ProgramFiles files() const {
        return ProgramFiles(folder_.path(), SettingsLocation::besideProgram(folder_.path()));
    }
    // The check of the account with this server field.
    std::unique_ptr<MailCheck> makeCheck(const QString& field) {
        shared.Pop3Server = field;
        return std::make_unique<MailCheck>(MailCheck::Services{
            client, dialUpLinks, shared, tokens, passwords, files(), [] { return false; }});
    }
    // One check with the server field; the count it found, or the error texts.
    std::variant<int, QStringList> check(const QString& field) {
        const std::unique_ptr<MailCheck> made = makeCheck(field);
        MailCheck& mailCheck = *made;
        QSignalSpy found(&mailCheck, &MailCheck::newMail);
        QSignalSpy failed(&mailCheck, &MailCheck::loginFailed);
        QSignalSpy missing(&mailCheck, &MailCheck::accountMissing);
        mailCheck.checkMail();
        EXPECT_EQ(missing.count(), 0);
        if (!failed.isEmpty()) {
            QStringList texts;
            for (const QList<QVariant>& arguments : failed) {
                texts << arguments.at(0).toString();
            }
            return texts;
        }
        return found.isEmpty() ? 0 : found.at(0).at(0).toInt();
    }
    QString field(const char* scheme, quint16 port) const {
        return QStringLiteral("%1localhost:%2").arg(QLatin1String(scheme)).arg(port);
    }
    // Dovecot's log lines of the logins so far.
    QStringList logins() const {
        return server.log().split(u'\n').filter(
            QStringLiteral("-login: Info: Login: user=<alice>"));
    }

    AuthorizationServer authorization;
    DovecotServer server;
    IssuedTokens tokens{authorization};
    ServerFieldMailClient client;
    FakeDialUpLinks dialUpLinks;
    SharedSettings shared;
    FakeSecretStore secrets;
    KeyringMailboxPasswords passwords{secrets};

private:
    TempFolder certificateFolder_;
    TestCertificates certificates_{certificateFolder_.path()};
    TempFolder folder_;
    QByteArray previousTrust_;
};

TEST_P(OAuthDovecot, ChecksOverEveryTlsRouteLogInWithAFreshTokenAndTheOfferedMechanism) {
    const QString method = GetParam().mechanisms.section(u' ', 0, 0).toUpper();
    // IMAP first: POP3 marks what it reads as seen, and IMAP counts the unseen.
    const QString fields[] = {
        field("imaps://", server.imapsPort()), field("imap://", server.imapPort()), // STARTTLS
        field("pop3s://", server.pop3sPort()), field("", server.pop3Port())};       // STLS
    for (const QString& field : fields) {
        const auto found = check(field);
        ASSERT_TRUE(std::holds_alternative<int>(found))
            << field.toStdString() << ": " << std::get<QStringList>(found).join(u'|').toStdString();
        EXPECT_EQ(std::get<int>(found), 2) << field.toStdString();
    }
    EXPECT_EQ(tokens.asked, 4);
    ASSERT_TRUE(server.waitForLoginCount(4)) << server.log().toStdString();
    EXPECT_EQ(
        logins().filter(QStringLiteral("method=") + method).filter(QStringLiteral(", TLS")).size(),
        4)
        << server.log().toStdString();
}

TEST_P(OAuthDovecot, ExpiredTokenShowsDovecotsReasonWithoutTheTokenAndNamesTheDiscoveryDocument) {
    authorization.setLifetime(-1); // every token issued is already expired
    for (const QString& field :
         {field("pop3s://", server.pop3sPort()), field("imaps://", server.imapsPort())}) {
        const auto refused = check(field);
        ASSERT_TRUE(std::holds_alternative<QStringList>(refused)) << field.toStdString();
        const QStringList texts = std::get<QStringList>(refused);
        ASSERT_EQ(texts.size(), 1);
        EXPECT_TRUE(texts.front().contains(QStringLiteral("ログインできません: ")) &&
                    texts.front().contains(QStringLiteral("Authentication failed")))
            << texts.front().toStdString();
        EXPECT_FALSE(texts.front().contains(tokens.last)) << texts.front().toStdString();

        // What the sign-in asks to discover the authorization server. Dovecot
        // names it for either mechanism, but not for an empty token.
        const std::unique_ptr<MailSession> session = client.open(field);
        ASSERT_NE(session, nullptr);
        const auto discovered = session->logIn(QStringLiteral("alice"), QStringLiteral("invalid"),
                                               MailSession::Authentication::Bearer);
        EXPECT_EQ(std::get<MailError>(discovered).openidConfiguration, authorization.discoveryUrl())
            << field.toStdString();
    }
    EXPECT_EQ(server.loginCount(), 0);
}

// A token the server refuses while it should still live is refreshed once and
// tried once more; a second refusal is told.
TEST_P(OAuthDovecot, ARefusedTokenIsRefreshedOnceAndTriedOnceMore) {
    tokens.staleUntilRefreshed = true;
    EXPECT_EQ(check(field("imaps://", server.imapsPort())), (std::variant<int, QStringList>(2)));
    EXPECT_EQ(tokens.asked, 2);

    authorization.setLifetime(-1); // the refreshed token is refused too
    const auto refused = check(field("pop3s://", server.pop3sPort()));
    ASSERT_TRUE(std::holds_alternative<QStringList>(refused));
    EXPECT_EQ(std::get<QStringList>(refused).size(), 1);
    EXPECT_EQ(tokens.asked, 4);
}

// A mailbox of the list gets its token on the window's thread and logs in on
// a thread of its own, where a refused token is refreshed and tried once more
// too; a sign-in that is gone is to be renewed from the list.
TEST_P(OAuthDovecot, AMailboxOfTheListLogsInWithItsOwnTokenAndRenewsItsSignInFromTheList) {
    const Mailbox listed{QStringLiteral("listed"), field("imap://", server.imapPort()),
                         QStringLiteral("alice"), Mailbox::SignIn::Browser};
    ASSERT_TRUE(MailboxList(files().mailboxSettings()).write({listed}));
    tokens.staleUntilRefreshed = true;
    const std::unique_ptr<MailCheck> mailCheck = makeCheck(field("imaps://", server.imapsPort()));
    QSignalSpy found(mailCheck.get(), &MailCheck::newMail);
    QList<MailboxOutcome> outcomes;
    QObject::connect(mailCheck.get(), &MailCheck::mailboxesChecked,
                     [&](const QList<MailboxOutcome>& told) { outcomes = told; });
    mailCheck->checkMail();
    ASSERT_EQ(found.count(), 1);
    EXPECT_EQ(found.at(0).at(0).toInt(), 4);
    EXPECT_EQ(tokens.asked, 4);
    ASSERT_EQ(outcomes.size(), 2);
    EXPECT_TRUE(outcomes[1].error.isEmpty()) << outcomes[1].error.toStdString();

    tokens.refusal = MailError{QStringLiteral("gone"), {}, false, true};
    mailCheck->checkMail();
    ASSERT_EQ(outcomes.size(), 2);
    EXPECT_EQ(outcomes[1].name, QStringLiteral("listed"));
    EXPECT_TRUE(outcomes[1].error.contains(QStringLiteral("「メールボックス」")))
        << outcomes[1].error.toStdString();
}

TEST_P(OAuthDovecot, RefusedRefreshIsShownOnceAndNeitherCheckNorPushConnect) {
    tokens.refusal = MailError{QStringLiteral("もう一度サインインしてください。")};
    EXPECT_EQ(check(field("imaps://", server.imapsPort())),
              (std::variant<int, QStringList>(QStringList{tokens.refusal->text})));

    MailAccess access{field("imaps://", server.imapsPort()), QStringLiteral("alice"), {}, &tokens};
    const std::unique_ptr<MailWatch> watch = client.watch(access, [] {});
    ASSERT_NE(watch, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return watch->lostAccess(); }, 5000));
    QTest::qWait(500);
    EXPECT_EQ(tokens.asked, 2); // once by the check, once by the watch: no retry
    EXPECT_EQ(server.loginCount(), 0);
}

TEST_P(OAuthDovecot, PushThroughIdleLogsInWithATokenAndTellsOfNewMail) {
    authorization.setLifetime(2); // the watch outlives its token
    // The account the next check would use, as push takes it.
    const std::optional<MailAccess> access =
        makeCheck(field("imaps://", server.imapsPort()))->nextAccess();
    ASSERT_TRUE(access.has_value());
    EXPECT_TRUE(access->password.isEmpty());
    EXPECT_EQ(access->tokens, &tokens);
    int told = 0;
    const std::unique_ptr<MailWatch> watch = client.watch(*access, [&] { ++told; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.loginCount() == 1; }, 5000))
        << server.log().toStdString();
    QTest::qWait(2500);

    server.deliver("Subject: note 3\r\n\r\nline\r\n");

    EXPECT_TRUE(QTest::qWaitFor([&] { return told == 1; }, 5000));
    EXPECT_FALSE(watch->lostAccess());
    EXPECT_EQ(tokens.asked, 1);
}

INSTANTIATE_TEST_SUITE_P(Mechanisms, OAuthDovecot,
                         ::testing::Values(Setup{"Both", QStringLiteral("oauthbearer xoauth2")},
                                           Setup{"Xoauth2Only", QStringLiteral("xoauth2")}),
                         [](const auto& tested) { return std::string(tested.param.name); });

} // namespace
} // namespace brindle::test
