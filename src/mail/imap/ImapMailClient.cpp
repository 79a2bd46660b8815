#include "mail/imap/ImapMailClient.h"

#include "mail/imap/ImapMailSession.h"
#include "mail/imap/ImapWatchHandle.h"

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

std::unique_ptr<MailWatch> ImapMailClient::watch(const MailAccess& access,
                                                 std::function<void()> onNewMail) {
    const std::optional<MailServerAddress> address = MailServerAddress::parse(access.server);
    if (!address || address->protocol != MailProtocol::Imap) {
        return nullptr;
    }
    ImapInboxWatch::SecretSource secrets;
    if (access.tokens != nullptr || access.desktop != nullptr) {
        secrets = [access] { return access.loginSecret(); };
    }
    return std::make_unique<ImapWatchHandle>(std::make_shared<ImapInboxWatch>(
        *address, access.id, access.password, options_, std::move(onNewMail), std::move(secrets)));
}

} // namespace brindle
