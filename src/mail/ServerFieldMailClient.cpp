#include "mail/ServerFieldMailClient.h"

namespace brindle {

ServerFieldMailClient::ServerFieldMailClient(const Pop3Options& pop3Options,
                                             const ImapOptions& imapOptions)
    : pop3_(pop3Options), imap_(imapOptions) {}

std::unique_ptr<MailSession> ServerFieldMailClient::open(const QString& server) {
    const std::optional<MailServerAddress> address = MailServerAddress::parse(server);
    if (!address) {
        return nullptr;
    }
    switch (address->protocol) {
    case MailProtocol::Pop3:
        return pop3_.open(*address);
    case MailProtocol::Imap:
        return imap_.open(*address);
    }
    return nullptr;
}

std::unique_ptr<MailWatch> ServerFieldMailClient::watch(const MailAccess& access,
                                                        std::function<void()> onNewMail) {
    const std::optional<MailServerAddress> address = MailServerAddress::parse(access.server);
    if (!address) {
        return nullptr;
    }
    switch (address->protocol) {
    case MailProtocol::Pop3:
        return pop3_.watch(access, std::move(onNewMail));
    case MailProtocol::Imap:
        return imap_.watch(access, std::move(onNewMail));
    }
    return nullptr;
}

} // namespace brindle
