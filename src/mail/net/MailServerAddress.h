#pragma once

#include <QString>
#include <optional>

namespace brindle {

enum class MailProtocol { Pop3, Imap };

// How the connection is protected.
enum class TransportSecurity {
    StartTlsRequired, // plain text upgraded to TLS (STLS, STARTTLS); no login when the server lacks
                      // it
    PlainOnly,        // plain text, never upgraded
    ImplicitTls,      // TLS from the first byte
};

// The server field. POP3: "host", "host:port", "[IPv6]:port" (TLS through
// STLS), optionally behind "pop3://" (plain only, asked for on purpose) or
// "pop3s://" (TLS from the first byte); port 995 means TLS from the first byte
// as well. IMAP: "imaps://host[:port]" (TLS from the first byte) or
// "imap://host[:port]" (TLS through STARTTLS).
struct MailServerAddress {
    MailProtocol protocol = MailProtocol::Pop3;
    QString host;
    quint16 port = 110;
    TransportSecurity security = TransportSecurity::StartTlsRequired;

    static std::optional<MailServerAddress> parse(const QString& text);
    // The port a protocol uses when the field names none.
    static quint16 defaultPort(MailProtocol protocol, TransportSecurity security);
};

} // namespace brindle
