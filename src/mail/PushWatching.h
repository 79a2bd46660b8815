#pragma once

#include "mail/MailAccess.h"
#include "mail/MailWatch.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

namespace brindle {

class MailClient;

// Push: while interval checking is on, keeps a watch on the mailbox (the one
// the next check would use when interval checking comes on, then the one the
// last check logged in to) and asks for a check as soon as the watch tells of new
// mail, at most once per minSpacingMs; news that come while a check runs ask
// again once the spacing has passed. Where the server cannot tell, nothing
// happens.
class PushWatching : public QObject {
    Q_OBJECT
public:
    static constexpr int defaultSpacingMs = 3000;

    // checkRunning tells whether a mail check is under way; nextAccess gives
    // the server and account the next check would use.
    PushWatching(MailClient& client, std::function<bool()> checkRunning,
                 std::function<std::optional<MailAccess>()> nextAccess,
                 int minSpacingMs = defaultSpacingMs, QObject* parent = nullptr);
    ~PushWatching() override;

    void setIntervalOn(bool on);
    // The mailbox and account a check logged in with.
    void useAccess(const MailAccess& access);
    bool isWatching() const { return watch_ != nullptr; }
    // Opens the watch anew at once: after sleep or a network change its
    // connection may be dead without knowing it.
    void reconnect();

signals:
    void checkDue();

private:
    void update();
    void newMailTold();

    MailClient& client_;
    std::function<bool()> checkRunning_;
    std::function<std::optional<MailAccess>()> nextAccess_;
    int minSpacingMs_;
    bool intervalOn_ = false;
    std::optional<MailAccess> access_;
    // The access the watch (or the client's refusal to watch) is for.
    std::optional<MailAccess> watchedAccess_;
    std::unique_ptr<MailWatch> watch_;
    QTimer spacing_;
    QTimer switchedOn_;
    QElapsedTimer sinceLastCheck_;
};

} // namespace brindle
