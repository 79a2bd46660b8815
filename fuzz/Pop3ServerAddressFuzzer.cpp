// Parses any server field: an address it accepts has a host and a port, and
// written back in the plainest form that means the same, it reads the same.
#include "mail/pop3/Pop3ServerAddress.h"

#include <cstdlib>

using brindle::Pop3Security;
using brindle::Pop3ServerAddress;

namespace {

QString writtenBack(const Pop3ServerAddress& address) {
    const QString scheme = address.security == Pop3Security::PlainOnly ? QStringLiteral("pop3://")
                           : address.security == Pop3Security::ImplicitTls
                               ? QStringLiteral("pop3s://")
                               : QString();
    const QString host = address.host.contains(u':') ? u'[' + address.host + u']' : address.host;
    return scheme + host + u':' + QString::number(address.port);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<Pop3ServerAddress> address = Pop3ServerAddress::parse(text);
    if (!address) {
        return 0;
    }
    if (address->host.isEmpty() || address->port == 0) {
        std::abort();
    }
    const std::optional<Pop3ServerAddress> again = Pop3ServerAddress::parse(writtenBack(*address));
    if (!again || again->host != address->host || again->port != address->port ||
        again->security != address->security) {
        std::abort();
    }
    return 0;
}
