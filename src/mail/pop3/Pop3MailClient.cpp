#include "mail/pop3/Pop3MailClient.h"

#include "mail/pop3/Pop3MailSession.h"

namespace brindle {

Pop3MailClient::Pop3MailClient(const Pop3Options& options) : options_(options) {}

std::unique_ptr<MailSession> Pop3MailClient::open(const QString& server) {
    const std::optional<MailServerAddress> address = MailServerAddress::parse(server);
    if (!address || address->protocol != MailProtocol::Pop3) {
        return nullptr;
    }
    return open(*address);
}

std::unique_ptr<MailSession> Pop3MailClient::open(const MailServerAddress& address) {
    auto session = std::make_unique<Pop3MailSession>(address, options_);
    if (!session->connect()) {
        return nullptr;
    }
    return session;
}

} // namespace brindle
