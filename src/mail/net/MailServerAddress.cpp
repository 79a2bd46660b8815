#include "mail/net/MailServerAddress.h"

#include <algorithm>

namespace brindle {

namespace {

std::optional<quint16> parsePort(const QString& text) {
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port == 0 || port > 65535 || text.startsWith(u'+')) {
        return std::nullopt;
    }
    return quint16(port);
}

// A name or an address: no blank or control character, and none of the
// characters that frame a host in the field or in an address.
bool isHostText(const QString& host) {
    return !host.isEmpty() && std::none_of(host.cbegin(), host.cend(), [](QChar c) {
        return c.isSpace() || c.category() == QChar::Other_Control ||
               QStringView(u"/[]@").contains(c);
    });
}

} // namespace

std::optional<MailServerAddress> MailServerAddress::parse(const QString& text) {
    struct Scheme {
        QStringView prefix;
        MailProtocol protocol;
        TransportSecurity security;
    };
    static constexpr Scheme schemes[] = {
        {u"pop3s://", MailProtocol::Pop3, TransportSecurity::ImplicitTls},
        {u"pop3://", MailProtocol::Pop3, TransportSecurity::PlainOnly},
        {u"imaps://", MailProtocol::Imap, TransportSecurity::ImplicitTls},
        {u"imap://", MailProtocol::Imap, TransportSecurity::StartTlsRequired},
    };
    MailServerAddress address;
    QString rest = text.trimmed();
    const auto scheme = std::find_if(std::begin(schemes), std::end(schemes), [&](const Scheme& s) {
        return rest.startsWith(s.prefix, Qt::CaseInsensitive);
    });
    const bool hasScheme = scheme != std::end(schemes);
    if (hasScheme) {
        address.protocol = scheme->protocol;
        rest = rest.mid(scheme->prefix.size()).section(u'/', 0, 0);
    }

    QString portText;
    bool hasPort = false;
    if (rest.startsWith(u'[')) {
        const qsizetype close = rest.indexOf(u']');
        if (close < 0) {
            return std::nullopt;
        }
        address.host = rest.mid(1, close - 1);
        const QString tail = rest.mid(close + 1);
        if (!tail.isEmpty()) {
            if (!tail.startsWith(u':')) {
                return std::nullopt;
            }
            portText = tail.mid(1);
            hasPort = true;
        }
    } else if (rest.count(u':') == 1) {
        address.host = rest.section(u':', 0, 0);
        portText = rest.section(u':', 1);
        hasPort = true;
    } else {
        address.host = rest; // a name, or a bare IPv6 address without a port
    }
    if (!isHostText(address.host)) {
        return std::nullopt;
    }

    std::optional<quint16> port;
    if (hasPort) {
        port = parsePort(portText);
        if (!port) {
            return std::nullopt;
        }
    }
    if (hasScheme) {
        address.security = scheme->security;
    } else if (port == defaultPort(MailProtocol::Pop3, TransportSecurity::ImplicitTls)) {
        address.security = TransportSecurity::ImplicitTls;
    }
    address.port = port.value_or(defaultPort(address.protocol, address.security));
    return address;
}

quint16 MailServerAddress::defaultPort(MailProtocol protocol, TransportSecurity security) {
    const bool tls = security == TransportSecurity::ImplicitTls;
    if (protocol == MailProtocol::Imap) {
        return tls ? 993 : 143;
    }
    return tls ? 995 : 110;
}

} // namespace brindle
