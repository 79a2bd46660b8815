// Parses any server field: an address it accepts has a host and a port, and
// written back in the plainest form that means the same, it reads the same.
#include "mail/net/MailServerAddress.h"

#include <cstdlib>

using brindle::MailProtocol;
using brindle::MailServerAddress;
using brindle::TransportSecurity;

namespace {

QString writtenBack(const MailServerAddress& address) {
    QString scheme;
    if (address.protocol == MailProtocol::Imap) {
        scheme = address.security == TransportSecurity::ImplicitTls ? QStringLiteral("imaps://")
                                                                    : QStringLiteral("imap://");
    } else if (address.security == TransportSecurity::PlainOnly) {
        scheme = QStringLiteral("pop3://");
    } else if (address.security == TransportSecurity::ImplicitTls) {
        scheme = QStringLiteral("pop3s://");
    }
    const QString host = address.host.contains(u':') ? u'[' + address.host + u']' : address.host;
    return scheme + host + u':' + QString::number(address.port);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<MailServerAddress> address = MailServerAddress::parse(text);
    if (!address) {
        return 0;
    }
    if (address->host.isEmpty() || address->port == 0) {
        std::abort();
    }
    const std::optional<MailServerAddress> again = MailServerAddress::parse(writtenBack(*address));
    if (!again || again->host != address->host || again->port != address->port ||
        again->security != address->security || again->protocol != address->protocol) {
        std::abort();
    }
    return 0;
}
