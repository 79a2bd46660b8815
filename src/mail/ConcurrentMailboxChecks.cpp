#include "mail/ConcurrentMailboxChecks.h"

#include "mail/MailClient.h"
#include "mail/ReadMessages.h"
#include "mail/net/LocalEventLoop.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace brindle {

ConcurrentMailboxChecks::ConcurrentMailboxChecks(MailClient& client, QObject* parent)
    : QObject(parent), client_(client) {
    pool_.setMaxThreadCount(MaxThreads);
}

ConcurrentMailboxChecks::~ConcurrentMailboxChecks() {
    pool_.clear();
    pool_.waitForDone();
}

void ConcurrentMailboxChecks::start(const QList<std::variant<Login, MailError>>& mailboxes) {
    const int round = ++round_;
    results_ = QList<std::optional<Result>>(mailboxes.size());
    for (qsizetype index = 0; index < mailboxes.size(); ++index) {
        if (const auto* error = std::get_if<MailError>(&mailboxes[index])) {
            results_[index] = *error;
            continue;
        }
        pool_.start([this, round, index, login = std::get<Login>(mailboxes[index])] {
            const Result result = read(client_, login);
            QMetaObject::invokeMethod(
                this, [this, round, index, result] { record(round, index, result); },
                Qt::QueuedConnection);
        });
    }
}

void ConcurrentMailboxChecks::record(int round, qsizetype index, const Result& result) {
    if (round != round_) {
        return;
    }
    results_[index] = result;
    if (waiting_ && allDone()) {
        waiting_->quit();
    }
}

bool ConcurrentMailboxChecks::allDone() const {
    return std::all_of(results_.begin(), results_.end(),
                       [](const std::optional<Result>& result) { return result.has_value(); });
}

QList<ConcurrentMailboxChecks::Result> ConcurrentMailboxChecks::wait(QDeadlineTimer deadline) {
    QEventLoop loop;
    // Repeating: a wake a little early only looks again.
    QTimer timeUp;
    timeUp.setTimerType(Qt::PreciseTimer);
    connect(&timeUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeUp.start(int(std::clamp<qint64>(deadline.remainingTime(), 0, INT_MAX)));
    waiting_ = &loop;
    runEventLoopUntil(loop, [&] { return allDone() || deadline.hasExpired(); });
    waiting_ = nullptr;
    // What has not started will not; what runs ends by its own deadline, unheard.
    pool_.clear();
    ++round_;
    QList<Result> results;
    for (const std::optional<Result>& result : results_) {
        results.append(
            result ? *result
                   : Result(MailError{tr("決められた時間内にチェックが終わりませんでした。")}));
    }
    return results;
}

MailError ConcurrentMailboxChecks::unreachable(const QString& server) {
    return MailError{tr("サーバー %1 に接続できません。").arg(server)};
}

ConcurrentMailboxChecks::Result ConcurrentMailboxChecks::read(MailClient& client,
                                                              const Login& login) {
    const std::unique_ptr<MailSession> session = client.open(login.server);
    if (!session) {
        return unreachable(login.server);
    }
    const auto loggedIn = session->logIn(login.id, login.secret, login.authentication);
    if (const auto* error = std::get_if<MailError>(&loggedIn)) {
        return *error;
    }
    const int count = std::get<int>(loggedIn);
    if (session->checkReadsMessages()) {
        readMessages(*session, count);
    }
    return Read{count, NewMessages::read(*session, NewMessages::mailboxName(login.server, login.id),
                                         login.seen)};
}

} // namespace brindle
