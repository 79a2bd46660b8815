#pragma once

#include "mail/MailAccess.h"
#include "mail/PushWatching.h"
#include "settings/core/Mailbox.h"

#include <QList>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace brindle {

class MailClient;

// Push for the mailboxes after the first: while interval checking is on, one
// watch of its own on each (where its server can tell of new mail), with the
// renewal and back-off every watch has. Any of them asks for a check of all.
class OtherMailboxesPushWatching : public QObject {
    Q_OBJECT
public:
    // mailboxes lists them now; accessFor gives what a watch logs in with.
    OtherMailboxesPushWatching(MailClient& client, std::function<bool()> checkRunning,
                               std::function<QList<Mailbox>()> mailboxes,
                               std::function<std::optional<MailAccess>(const Mailbox&)> accessFor,
                               QObject* parent = nullptr);
    ~OtherMailboxesPushWatching() override;

    void setIntervalOn(bool on);
    // The list changed: the watches are made anew.
    void mailboxesChanged();
    void reconnect();
    qsizetype watchedCount() const;

signals:
    void checkDue();

private:
    MailClient& client_;
    std::function<bool()> checkRunning_;
    std::function<QList<Mailbox>()> mailboxes_;
    std::function<std::optional<MailAccess>(const Mailbox&)> accessFor_;
    bool intervalOn_ = false;
    std::vector<std::unique_ptr<PushWatching>> watchings_;
};

} // namespace brindle
