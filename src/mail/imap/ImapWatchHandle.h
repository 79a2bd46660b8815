#pragma once

#include "mail/MailWatch.h"
#include "mail/imap/ImapInboxWatch.h"

#include <memory>

namespace brindle {

// The holder's end of an INBOX watch: letting go stops the watch, which goes
// once its running step, if any, has returned.
class ImapWatchHandle : public MailWatch {
public:
    explicit ImapWatchHandle(std::shared_ptr<ImapInboxWatch> watch) : watch_(std::move(watch)) {}
    ~ImapWatchHandle() override { watch_->stop(); }
    bool lostAccess() const override { return watch_->lostAccess(); }
    ImapWatchHandle(const ImapWatchHandle&) = delete;
    ImapWatchHandle& operator=(const ImapWatchHandle&) = delete;

private:
    std::shared_ptr<ImapInboxWatch> watch_;
};

} // namespace brindle
