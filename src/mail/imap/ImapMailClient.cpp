#include "mail/imap/ImapMailClient.h"

#include "mail/imap/ImapMailSession.h"

namespace brindle {

ImapMailClient::ImapMailClient(const ImapOptions& options) : options_(options) {}

std::unique_ptr<MailSession> ImapMailClient::open(const QString& server) {
    const std::optional<MailServerAddress> address = MailServerAddress::parse(server);
    if (!address || address->protocol != MailProtocol::Imap) {
        return nullptr;
    }
    return open(*address);
}

std::unique_ptr<MailSession> ImapMailClient::open(const MailServerAddress& address) {
    auto session = std::make_unique<ImapMailSession>(address, options_);
    if (!session->connect()) {
        return nullptr;
    }
    return session;
}

} // namespace brindle
