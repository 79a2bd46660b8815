#include "mail/PushWatching.h"

#include "mail/MailClient.h"

#include <algorithm>

namespace brindle {

PushWatching::PushWatching(MailClient& client, std::function<bool()> checkRunning,
                           std::function<std::optional<MailAccess>()> nextAccess, int minSpacingMs,
                           QObject* parent)
    : QObject(parent), client_(client), checkRunning_(std::move(checkRunning)),
      nextAccess_(std::move(nextAccess)), minSpacingMs_(minSpacingMs) {
    // The account is read from the event loop: at start-up the interval comes
    // on before the server file has been read.
    switchedOn_.setSingleShot(true);
    connect(&switchedOn_, &QTimer::timeout, this, [this] {
        if (const std::optional<MailAccess> next = nextAccess_()) {
            access_ = next;
        }
        update();
    });
    spacing_.setSingleShot(true);
    connect(&spacing_, &QTimer::timeout, this, [this] {
        // A running check may have looked before the news: ask again later.
        if (checkRunning_()) {
            spacing_.start(minSpacingMs_);
            return;
        }
        sinceLastCheck_.start();
        emit checkDue();
    });
}

PushWatching::~PushWatching() = default;

void PushWatching::setIntervalOn(bool on) {
    intervalOn_ = on;
    if (on) {
        switchedOn_.start(0);
    } else {
        switchedOn_.stop();
        update();
    }
}

void PushWatching::useAccess(const MailAccess& access) {
    access_ = access;
    update();
}

void PushWatching::reconnect() {
    if (!watch_) {
        return;
    }
    watch_.reset();
    watchedAccess_.reset();
    update();
}

void PushWatching::update() {
    if (!intervalOn_ || !access_) {
        watch_.reset();
        watchedAccess_.reset();
        return;
    }
    // A watch that lost its account's token is made anew after a check has
    // logged in again.
    if (watchedAccess_ == access_ && !(watch_ && watch_->lostAccess())) {
        return;
    }
    watch_.reset();
    watch_ = client_.watch(*access_, [this] { newMailTold(); });
    watchedAccess_ = access_;
}

// The check runs from the event loop, never inside the watch's reading.
void PushWatching::newMailTold() {
    if (spacing_.isActive()) {
        return;
    }
    const qint64 since = sinceLastCheck_.isValid() ? sinceLastCheck_.elapsed() : minSpacingMs_;
    spacing_.start(int(std::clamp<qint64>(minSpacingMs_ - since, 0, minSpacingMs_)));
}

} // namespace brindle
