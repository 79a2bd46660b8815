#pragma once

#include <QString>
#include <optional>

namespace brindle {

// How the connection is protected.
enum class Pop3Security {
    StartTlsRequired, // plain POP3 upgraded with STLS; no login when the server lacks it
    PlainOnly,        // plain POP3, never upgraded
    ImplicitTls,      // TLS from the first byte
};

// The server field: "host", "host:port", "[IPv6]:port" (TLS through STLS),
// optionally behind "pop3://" (plain only, asked for on purpose) or "pop3s://"
// (TLS from the first byte). Port 995 means TLS from the first byte as well.
struct Pop3ServerAddress {
    static constexpr quint16 plainPort = 110;
    static constexpr quint16 tlsPort = 995;

    QString host;
    quint16 port = plainPort;
    Pop3Security security = Pop3Security::StartTlsRequired;

    static std::optional<Pop3ServerAddress> parse(const QString& text);
};

} // namespace brindle
