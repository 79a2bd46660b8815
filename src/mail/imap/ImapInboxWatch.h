#pragma once

#include "mail/MailAccess.h"
#include "mail/imap/ImapSession.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>
#include <variant>

namespace brindle {

// One extra connection with INBOX examined (read-only) in IDLE, renewed every
// idleRenewMs. Whenever the server reports more messages than before, calls
// onNewMail. The socket wakes it only when the server sends something. A
// dropped connection is opened again after a delay that doubles up to
// retryMaxMs and starts again from retryFirstMs once a connection has stayed
// up for retryResetMs; a server without IDLE ends the watch for good. It never
// reports an error: that is for the checks.
// Its waits let events run, and an event may end the watch meanwhile; so it
// lives in a shared pointer that each of its steps holds until the step has
// returned, and stop() only makes the running step end early.
class ImapInboxWatch : public std::enable_shared_from_this<ImapInboxWatch> {
public:
    // The secret of one login, fetched afresh, or why there is none.
    using SecretSource = std::function<std::variant<LoginSecret, MailError>()>;

    // With a secret source each connection logs in with a secret from it
    // instead of the password, and the watch ends for good when it gives none.
    ImapInboxWatch(const MailServerAddress& address, const QString& id, const QString& password,
                   const ImapOptions& options, std::function<void()> onNewMail,
                   SecretSource secrets = {});
    ~ImapInboxWatch();

    // No more steps and no more calls of onNewMail; the connection closes
    // when the last holder lets go.
    void stop();

    bool isIdling() const { return readable_ != nullptr; }
    // True once a server without IDLE has been logged out of for good, or no
    // secret could be had.
    bool hasGivenUp() const { return !session_ && !retry_.isActive(); }
    // The wait before the latest opening after a drop, or before the one to come.
    int retryWaitMs() const { return retry_.interval(); }
    bool lostAccess() const { return lostAccess_; }

private:
    // Connects, logs in, examines INBOX and starts IDLE.
    void open();
    void takeNews();
    void renew();
    // Waits for the server's next words. Those already received but still
    // inside TLS never make the socket readable: they are taken from the event
    // loop at once.
    void listen();
    // Closes the connection and tries again after the back-off delay.
    void drop();
    // Calls onNewMail when the count grew since last noted.
    void noteCount();

    MailServerAddress address_;
    QString id_;
    QString password_;
    ImapOptions options_;
    std::function<void()> onNewMail_;
    SecretSource secrets_;
    std::unique_ptr<ImapSession> session_;
    // The notifier may go while it calls us (a drop, the last holder letting
    // go): it is switched off at once and deleted from the event loop.
    struct LaterDeleter {
        void operator()(QSocketNotifier* notifier) const {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
    };
    std::unique_ptr<QSocketNotifier, LaterDeleter> readable_;
    QTimer retry_;
    QTimer renew_;
    QTimer takeBuffered_;
    QElapsedTimer idlingSince_; // invalid while not idling
    int retryDelayMs_;
    int knownCount_ = -1;
    bool stopped_ = false;
    bool lostAccess_ = false;
};

} // namespace brindle
