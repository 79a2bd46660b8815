#include "mail/OtherMailboxesPushWatching.h"

#include <algorithm>

namespace brindle {

OtherMailboxesPushWatching::OtherMailboxesPushWatching(
    MailClient& client, std::function<bool()> checkRunning,
    std::function<QList<Mailbox>()> mailboxes,
    std::function<std::optional<MailAccess>(const Mailbox&)> accessFor, QObject* parent)
    : QObject(parent), client_(client), checkRunning_(std::move(checkRunning)),
      mailboxes_(std::move(mailboxes)), accessFor_(std::move(accessFor)) {}

OtherMailboxesPushWatching::~OtherMailboxesPushWatching() = default;

// Each watch reads its mailbox's account from the event loop, as the first
// mailbox's does.
void OtherMailboxesPushWatching::setIntervalOn(bool on) {
    intervalOn_ = on;
    watchings_.clear();
    if (!on) {
        return;
    }
    for (const Mailbox& mailbox : mailboxes_()) {
        auto watching = std::make_unique<PushWatching>(
            client_, checkRunning_, [this, mailbox] { return accessFor_(mailbox); });
        connect(watching.get(), &PushWatching::checkDue, this,
                &OtherMailboxesPushWatching::checkDue);
        watching->setIntervalOn(true);
        watchings_.push_back(std::move(watching));
    }
}

void OtherMailboxesPushWatching::mailboxesChanged() {
    setIntervalOn(intervalOn_);
}

void OtherMailboxesPushWatching::reconnect() {
    for (const auto& watching : watchings_) {
        watching->reconnect();
    }
}

qsizetype OtherMailboxesPushWatching::watchedCount() const {
    return std::count_if(watchings_.begin(), watchings_.end(),
                         [](const auto& watching) { return watching->isWatching(); });
}

} // namespace brindle
