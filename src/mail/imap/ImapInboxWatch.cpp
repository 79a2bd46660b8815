#include "mail/imap/ImapInboxWatch.h"

#include <algorithm>

namespace brindle {

ImapInboxWatch::ImapInboxWatch(const MailServerAddress& address, const QString& id,
                               const QString& password, const ImapOptions& options,
                               std::function<void()> onNewMail, SecretSource secrets)
    : address_(address), id_(id), password_(password), options_(options),
      onNewMail_(std::move(onNewMail)), secrets_(std::move(secrets)),
      retryDelayMs_(options.retryFirstMs) {
    retry_.setSingleShot(true);
    renew_.setSingleShot(true);
    takeBuffered_.setSingleShot(true);
    QObject::connect(&retry_, &QTimer::timeout, [this] { shared_from_this()->open(); });
    QObject::connect(&renew_, &QTimer::timeout, [this] { shared_from_this()->renew(); });
    QObject::connect(&takeBuffered_, &QTimer::timeout, [this] { shared_from_this()->takeNews(); });
    // Opened from the event loop, once the check that led here has ended.
    retry_.start(0);
}

// No LOGOUT: a goodbye to a server that has stopped answering could hold the
// program's end for the reply time-out.
ImapInboxWatch::~ImapInboxWatch() = default;

void ImapInboxWatch::stop() {
    stopped_ = true;
    retry_.stop();
    renew_.stop();
    takeBuffered_.stop();
    if (readable_) {
        readable_->setEnabled(false);
    }
}

void ImapInboxWatch::open() {
    LoginSecret secret{password_};
    if (secrets_) {
        // A refused secret is not asked again: the next check tells the user.
        // Asking waits with events running, which may stop the watch.
        const std::variant<LoginSecret, MailError> given = secrets_();
        if (std::holds_alternative<MailError>(given)) {
            lostAccess_ = true;
            return;
        }
        if (stopped_) {
            return;
        }
        secret = std::get<LoginSecret>(given);
    }
    session_ = std::make_unique<ImapSession>(address_, options_);
    if (!session_->connect() || !session_->logIn(id_, secret.text, secret.authentication)) {
        drop();
        return;
    }
    if (stopped_) {
        return;
    }
    if (!session_->hasCapability("IDLE")) {
        session_->logOut();
        session_.reset(); // the server cannot tell of new mail: nothing to retry
        return;
    }
    if (!session_->examineInbox()) {
        drop();
        return;
    }
    noteCount();
    if (!session_->startIdle()) {
        drop();
        return;
    }
    noteCount();
    if (stopped_) {
        return;
    }
    idlingSince_.start();
    readable_.reset(
        new QSocketNotifier(qintptr(session_->socketDescriptor()), QSocketNotifier::Read));
    QObject::connect(readable_.get(), &QSocketNotifier::activated,
                     [this] { shared_from_this()->takeNews(); });
    renew_.start(options_.idleRenewMs);
    listen();
}

void ImapInboxWatch::takeNews() {
    // Off while reading: the reads wait on the same socket in an event loop.
    readable_->setEnabled(false);
    session_->restartDeadline();
    if (!session_->takeIdleNews()) {
        drop();
        return;
    }
    noteCount();
    listen();
}

void ImapInboxWatch::renew() {
    readable_->setEnabled(false);
    takeBuffered_.stop(); // DONE's answer takes everything up to it
    session_->restartDeadline();
    if (!session_->stopIdle() || !session_->startIdle()) {
        drop();
        return;
    }
    noteCount();
    if (!stopped_) {
        renew_.start(options_.idleRenewMs);
    }
    listen();
}

void ImapInboxWatch::listen() {
    if (stopped_) {
        return;
    }
    // Never both: a wake-up with nothing to read would wait for the server.
    const bool buffered = session_->hasBufferedInput();
    readable_->setEnabled(!buffered);
    if (buffered) {
        takeBuffered_.start(0);
    }
}

void ImapInboxWatch::drop() {
    readable_.reset();
    renew_.stop();
    takeBuffered_.stop();
    session_.reset();
    // A connection that stayed up has worked: its end says nothing of the next.
    if (idlingSince_.isValid() && idlingSince_.hasExpired(options_.retryResetMs)) {
        retryDelayMs_ = options_.retryFirstMs;
    }
    idlingSince_.invalidate();
    if (stopped_) {
        return;
    }
    retry_.start(retryDelayMs_);
    retryDelayMs_ = std::min(retryDelayMs_ * 2, options_.retryMaxMs);
}

void ImapInboxWatch::noteCount() {
    const int count = session_->messageCount();
    const bool grew = knownCount_ >= 0 && count > knownCount_;
    knownCount_ = count;
    if (grew && !stopped_) {
        onNewMail_();
    }
}

} // namespace brindle
