#include "mail/net/BearerSasl.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

using Mechanism = BearerSasl::Mechanism;

struct MessageCase {
    const char* name;
    Mechanism mechanism;
    QByteArray id;
    QByteArray token;
    QString host;
    quint16 port;
    QByteArray base64; // as the protocols send it
};

class BearerSaslMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(BearerSaslMessage, IsWhatTheDocumentedExampleSends) {
    const MessageCase& c = GetParam();
    EXPECT_EQ(BearerSasl::initialResponse(c.mechanism, c.id, c.token, c.host, c.port).toBase64(),
              c.base64);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, BearerSaslMessage,
    ::testing::Values(
        // RFC 7628, 4.1: the IMAP example's initial client response.
        MessageCase{"OauthbearerOfRfc7628", Mechanism::OAuthBearer, "user@example.com",
                    "vF9dft4qmTc2Nvb3RlckBhdHRhdmlzdGEuY29tCg==", "server.example.com", 143,
                    "bixhPXVzZXJAZXhhbXBsZS5jb20sAWhvc3Q9c2VydmVyLmV4YW1wbGUuY29tAXBvcnQ9MTQzAWF1"
                    "dGg9QmVhcmVyIHZGOWRmdDRxbVRjMk52YjNSbGNrQmhkSFJoZG1semRHRXVZMjl0Q2c9PQEB"},
        // The XOAUTH2 example that Google documents; it names no host.
        MessageCase{"Xoauth2AsDocumented", Mechanism::XOAuth2, "someuser@example.com",
                    "ya29.vF9dft4qmTc2Nvb3RlckBhdHRhdmlzdGEuY29tCg", "imap.example.com", 993,
                    "dXNlcj1zb21ldXNlckBleGFtcGxlLmNvbQFhdXRoPUJlYXJlciB5YTI5LnZGOWRmdDRxbVRjMk52"
                    "YjNSbGNrQmhkSFJoZG1semRHRXVZMjl0Q2cBAQ=="},
        // A comma or an equals sign in the ID is escaped in the GS2 header (RFC 5801).
        MessageCase{"GsNameEscapesCommaAndEquals", Mechanism::OAuthBearer, "a,b=c", "t", "h", 110,
                    QByteArray("n,a=a=2Cb=3Dc,\x01host=h\x01port=110\x01"
                               "auth=Bearer t\x01\x01")
                        .toBase64()}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(BearerSasl, OauthbearerIsPreferredAndNamesAreTakenInAnyCase) {
    using Offered = QSet<QByteArray>;
    EXPECT_EQ(BearerSasl::choose(Offered{"PLAIN", "XOAUTH2", "OAUTHBEARER"}),
              Mechanism::OAuthBearer);
    EXPECT_EQ(BearerSasl::choose(Offered{"xoauth2", "PLAIN"}), Mechanism::XOAuth2);
    EXPECT_EQ(BearerSasl::choose(Offered{"PLAIN", "OAUTH", "XOAUTH"}), std::nullopt);
    EXPECT_EQ(BearerSasl::refusalAnswer(Mechanism::OAuthBearer).toBase64(), "AQ==");
    EXPECT_EQ(BearerSasl::refusalAnswer(Mechanism::XOAuth2), "");
}

TEST(BearerSasl, RefusalGivesStatusAndOnlyAUsableDiscoveryUrl) {
    struct Case {
        QByteArray challenge;
        QString status;
        QString discovery;
    };
    const QByteArray longUrl = "https://a.example/" + QByteArray(BearerSasl::maxUrlLength, 'x');
    const Case cases[] = {
        // RFC 7628, 4.3: the server's error challenge.
        {"eyJzdGF0dXMiOiJpbnZhbGlkX3Rva2VuIiwic2NvcGUiOiJleGFtcGxlX3Njb3BlIiwib3BlbmlkLWNvbmZp"
         "Z3VyYXRpb24iOiJodHRwczovL2V4YW1wbGUuY29tLy53ZWxsLWtub3duL29wZW5pZC1jb25maWd1cmF0aW9u"
         "In0=",
         "invalid_token", "https://example.com/.well-known/openid-configuration"},
        {QByteArray(R"({"status":"401","schemes":"bearer","scope":"mail"})").toBase64(), "401", ""},
        {QByteArray(R"j({"status":"x","openid-configuration":"javascript:alert(1)"})j").toBase64(),
         "x", ""},
        {QByteArray(R"({"openid-configuration":")" + longUrl + "\"}").toBase64(), "", ""},
        {QByteArray(R"({"status":"bad\nline"})").toBase64(), "", ""},
        {"not base64 at all!", "", ""},
        {QByteArray("[1,2]").toBase64(), "", ""},
        {QByteArray(BearerSasl::maxChallengeLength + 4, 'A'), "", ""},
    };
    for (const Case& c : cases) {
        const BearerSasl::Refusal refusal = BearerSasl::readRefusal(c.challenge);
        EXPECT_EQ(refusal.status, c.status) << c.challenge.left(80).toStdString();
        EXPECT_EQ(refusal.openidConfiguration, c.discovery) << c.challenge.left(80).toStdString();
    }
}

} // namespace
} // namespace brindle::test
