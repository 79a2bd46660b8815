#include "mail/pop3/Pop3ServerAddress.h"

#include <gtest/gtest.h>

namespace brindle::test {
namespace {

struct Expected {
    const char* text;
    const char* host;
    quint16 port;
    Pop3Security security;
};

TEST(Pop3ServerAddress, ReadsEveryAcceptedForm) {
    const Expected cases[] = {
        {"mail.example.jp", "mail.example.jp", 110, Pop3Security::StartTlsRequired},
        {" mail.example.jp ", "mail.example.jp", 110, Pop3Security::StartTlsRequired},
        {"mail.example.jp:1110", "mail.example.jp", 1110, Pop3Security::StartTlsRequired},
        {"mail.example.jp:995", "mail.example.jp", 995, Pop3Security::ImplicitTls},
        {"[::1]:2110", "::1", 2110, Pop3Security::StartTlsRequired},
        {"[::1]", "::1", 110, Pop3Security::StartTlsRequired},
        {"::1", "::1", 110, Pop3Security::StartTlsRequired},
        {"pop3s://mail.example.jp", "mail.example.jp", 995, Pop3Security::ImplicitTls},
        {"POP3S://mail.example.jp:1995/", "mail.example.jp", 1995, Pop3Security::ImplicitTls},
        {"pop3://mail.example.jp", "mail.example.jp", 110, Pop3Security::PlainOnly},
        {"pop3://127.0.0.1:995", "127.0.0.1", 995, Pop3Security::PlainOnly},
        {"pop3s://[::1]:2995", "::1", 2995, Pop3Security::ImplicitTls},
    };
    for (const Expected& expected : cases) {
        const auto address = Pop3ServerAddress::parse(QString::fromUtf8(expected.text));
        ASSERT_TRUE(address.has_value()) << expected.text;
        EXPECT_EQ(address->host, QString::fromUtf8(expected.host)) << expected.text;
        EXPECT_EQ(address->port, expected.port) << expected.text;
        EXPECT_EQ(address->security, expected.security) << expected.text;
    }
}

TEST(Pop3ServerAddress, RefusesWhatCannotBeReached) {
    for (const char* text : {"", "   ", "host:", "host:0", "host:65536", "host:x1", "host:+5",
                             "[::1", "[::1]x", "[]:110", "pop3://", "pop3s://:995", "a b", "a\tb",
                             "host/x", "[[::1]]:110", "user@host", "a\x01"}) {
        EXPECT_FALSE(Pop3ServerAddress::parse(QString::fromUtf8(text)).has_value()) << text;
    }
}

} // namespace
} // namespace brindle::test
