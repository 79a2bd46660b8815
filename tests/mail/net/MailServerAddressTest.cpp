#include "mail/net/MailServerAddress.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

struct Expected {
    const char* text;
    const char* host;
    quint16 port;
    TransportSecurity security;
    MailProtocol protocol = MailProtocol::Pop3;
};

TEST(MailServerAddress, ReadsEveryAcceptedForm) {
    const Expected cases[] = {
        {"mail.example.jp", "mail.example.jp", 110, TransportSecurity::StartTlsRequired},
        {" mail.example.jp ", "mail.example.jp", 110, TransportSecurity::StartTlsRequired},
        {"mail.example.jp:1110", "mail.example.jp", 1110, TransportSecurity::StartTlsRequired},
        {"mail.example.jp:995", "mail.example.jp", 995, TransportSecurity::ImplicitTls},
        {"[::1]:2110", "::1", 2110, TransportSecurity::StartTlsRequired},
        {"[::1]", "::1", 110, TransportSecurity::StartTlsRequired},
        {"::1", "::1", 110, TransportSecurity::StartTlsRequired},
        {"pop3s://mail.example.jp", "mail.example.jp", 995, TransportSecurity::ImplicitTls},
        {"POP3S://mail.example.jp:1995/", "mail.example.jp", 1995, TransportSecurity::ImplicitTls},
        {"pop3://mail.example.jp", "mail.example.jp", 110, TransportSecurity::PlainOnly},
        {"pop3://127.0.0.1:995", "127.0.0.1", 995, TransportSecurity::PlainOnly},
        {"pop3s://[::1]:2995", "::1", 2995, TransportSecurity::ImplicitTls},
        {"imaps://mail.example.jp", "mail.example.jp", 993, TransportSecurity::ImplicitTls,
         MailProtocol::Imap},
        {"IMAPS://[::1]:1993/", "::1", 1993, TransportSecurity::ImplicitTls, MailProtocol::Imap},
        {"imap://mail.example.jp", "mail.example.jp", 143, TransportSecurity::StartTlsRequired,
         MailProtocol::Imap},
        {"imap://127.0.0.1:995", "127.0.0.1", 995, TransportSecurity::StartTlsRequired,
         MailProtocol::Imap},
    };
    for (const Expected& expected : cases) {
        const auto address = MailServerAddress::parse(QString::fromUtf8(expected.text));
        ASSERT_TRUE(address.has_value()) << expected.text;
        EXPECT_EQ(address->host, QString::fromUtf8(expected.host)) << expected.text;
        EXPECT_EQ(address->port, expected.port) << expected.text;
        EXPECT_EQ(address->security, expected.security) << expected.text;
        EXPECT_EQ(address->protocol, expected.protocol) << expected.text;
    }
}

TEST(MailServerAddress, RefusesWhatCannotBeReached) {
    for (const char* text :
         {"",        "   ",          "host:",      "host:0",       "host:65536", "host:x1",
          "host:+5", "[::1",         "[::1]x",     "[]:110",       "pop3://",    "pop3s://:995",
          "a b",     "a\tb",         "host/x",     "[[::1]]:110",  "user@host",  "a\x01",
          "imap://", "imaps://:993", "imap://a b", "imap://host:0"}) {
        EXPECT_FALSE(MailServerAddress::parse(QString::fromUtf8(text)).has_value()) << text;
    }
}

} // namespace
} // namespace brindle::test
