#include "MailboxCheck.h"

#include "mail/ReadMessages.h"

#include <algorithm>

namespace brindle::test {

MailboxCheck checkMailbox(MailClient& client, const QString& server, const QString& id,
                          const QString& password, MailSession::Authentication authentication) {
    MailboxCheck result;
    const std::unique_ptr<MailSession> session = client.open(server);
    result.connected = session != nullptr;
    if (!session) {
        return result;
    }
    const auto loggedIn = session->logIn(id, password, authentication);
    if (const auto* error = std::get_if<MailError>(&loggedIn)) {
        result.count = -1;
        result.error = error->text;
        return result;
    }
    result.count = std::get<int>(loggedIn);
    for (int number = 1; number <= std::min(result.count, MaxMessagesFetched); ++number) {
        result.subjects.append(session->header(number).value_or(MailHeader{}).subject);
        result.sizes.append(session->size(number).value_or(-1));
        if (const auto body = session->fetch(number)) {
            result.messages.append(*body);
        }
    }
    return result;
}

} // namespace brindle::test
