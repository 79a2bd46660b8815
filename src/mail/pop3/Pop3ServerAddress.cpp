#include "mail/pop3/Pop3ServerAddress.h"

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

std::optional<Pop3ServerAddress> Pop3ServerAddress::parse(const QString& text) {
    Pop3ServerAddress address;
    QString rest = text.trimmed();
    std::optional<Pop3Security> scheme;
    if (rest.startsWith(u"pop3s://", Qt::CaseInsensitive)) {
        scheme = Pop3Security::ImplicitTls;
        rest = rest.mid(8);
    } else if (rest.startsWith(u"pop3://", Qt::CaseInsensitive)) {
        scheme = Pop3Security::PlainOnly;
        rest = rest.mid(7);
    }
    if (scheme) {
        rest = rest.section(u'/', 0, 0);
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
    if (scheme) {
        address.security = *scheme;
    } else if (port == tlsPort) {
        address.security = Pop3Security::ImplicitTls;
    }
    const quint16 defaultPort = address.security == Pop3Security::ImplicitTls ? tlsPort : plainPort;
    address.port = port.value_or(defaultPort);
    return address;
}

} // namespace brindle
