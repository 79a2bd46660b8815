#include "mail/net/TcpConnector.h"

#include "mail/net/LocalEventLoop.h"

#include <QEventLoop>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <net/if.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brindle {

namespace {

// The socket address of an IPv4 or IPv6 address and port; its length, or 0.
socklen_t socketAddress(const QHostAddress& address, quint16 port, sockaddr_storage& storage) {
    storage = {};
    if (address.protocol() == QAbstractSocket::IPv4Protocol) {
        auto& ipv4 = reinterpret_cast<sockaddr_in&>(storage);
        ipv4.sin_family = AF_INET;
        ipv4.sin_port = htons(port);
        ipv4.sin_addr.s_addr = htonl(address.toIPv4Address());
        return sizeof ipv4;
    }
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto& ipv6 = reinterpret_cast<sockaddr_in6&>(storage);
        ipv6.sin6_family = AF_INET6;
        ipv6.sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&ipv6.sin6_addr, bytes.c, sizeof bytes.c);
        // A link-local address names its interface, or gives its index.
        const QString scope = address.scopeId();
        bool isIndex = false;
        const uint index = scope.toUInt(&isIndex);
        ipv6.sin6_scope_id = isIndex ? index : if_nametoindex(scope.toUtf8().constData());
        return sizeof ipv6;
    }
    return 0;
}

} // namespace

TcpConnector::TcpConnector(int attemptTimeoutMs, int attemptDelayMs, int maxAddresses)
    : attemptTimeoutMs_(attemptTimeoutMs), attemptDelayMs_(attemptDelayMs),
      maxAddresses_(maxAddresses) {
    nextAttempt_.setSingleShot(true);
    QObject::connect(&nextAttempt_, &QTimer::timeout, [this] { startNextAttempts(); });
}

TcpConnector::~TcpConnector() {
    endAllAttempts();
}

int TcpConnector::connect(const QList<QHostAddress>& addresses, quint16 port,
                          QDeadlineTimer deadline) {
    port_ = port;
    waiting_ = tryOrder(addresses);
    connected_ = -1;
    lastError_ = waiting_.isEmpty() ? EADDRNOTAVAIL : ETIMEDOUT;
    if (deadline.hasExpired()) {
        return -1;
    }
    QEventLoop loop;
    loop_ = &loop;
    QTimer deadlineTimer;
    deadlineTimer.setSingleShot(true);
    deadlineTimer.setTimerType(Qt::PreciseTimer);
    bool pastDeadline = false;
    QObject::connect(&deadlineTimer, &QTimer::timeout, &loop, [&] {
        lastError_ = ETIMEDOUT;
        pastDeadline = true;
        loop.quit();
    });
    if (!deadline.isForever()) {
        deadlineTimer.start(int(std::min<qint64>(deadline.remainingTime(), INT_MAX)));
    }
    startNextAttempts();
    runEventLoopUntil(loop, [&] {
        return connected_ >= 0 || (running_ == 0 && waiting_.isEmpty()) || pastDeadline;
    });
    loop_ = nullptr;
    endAllAttempts();
    const int socket = connected_;
    connected_ = -1;
    return socket;
}

QList<QHostAddress> TcpConnector::tryOrder(const QList<QHostAddress>& addresses) const {
    QList<QHostAddress> first;
    QList<QHostAddress> second;
    for (const QHostAddress& address : addresses) {
        const bool sameFamily = first.isEmpty() || address.protocol() == first.front().protocol();
        (sameFamily ? first : second).append(address);
    }
    QList<QHostAddress> order;
    for (qsizetype index = 0;
         order.size() < maxAddresses_ && (index < first.size() || index < second.size()); ++index) {
        for (const QList<QHostAddress>* family : {&first, &second}) {
            if (index < family->size() && order.size() < maxAddresses_) {
                order.append(family->at(index));
            }
        }
    }
    return order;
}

void TcpConnector::startNextAttempts() {
    // A try that fails at once makes way for the next without a delay.
    while (connected_ < 0 && !waiting_.isEmpty() && !startAttempt(waiting_.takeFirst())) {
    }
    if (connected_ >= 0 || (running_ == 0 && waiting_.isEmpty())) {
        if (loop_ != nullptr) {
            loop_->quit();
        }
        return;
    }
    if (!waiting_.isEmpty()) {
        nextAttempt_.start(attemptDelayMs_);
    }
}

bool TcpConnector::startAttempt(const QHostAddress& address) {
    sockaddr_storage storage;
    const socklen_t length = socketAddress(address, port_, storage);
    if (length == 0) {
        lastError_ = EAFNOSUPPORT;
        return false;
    }
    const int socket = ::socket(storage.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socket < 0) {
        lastError_ = errno;
        return false;
    }
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&storage), length) == 0) {
        connected_ = socket;
        return true;
    }
    if (errno != EINPROGRESS) {
        lastError_ = errno;
        ::close(socket);
        return false;
    }
    auto attempt = std::make_unique<Attempt>();
    Attempt& started = *attempt;
    started.socket = socket;
    started.writable = std::make_unique<QSocketNotifier>(qintptr(socket), QSocketNotifier::Write);
    QObject::connect(started.writable.get(), &QSocketNotifier::activated, [this, &started] {
        int error = 0;
        socklen_t size = sizeof error;
        getsockopt(started.socket, SOL_SOCKET, SO_ERROR, &error, &size);
        finishAttempt(started, error);
    });
    started.timeout = std::make_unique<QTimer>();
    started.timeout->setSingleShot(true);
    QObject::connect(started.timeout.get(), &QTimer::timeout,
                     [this, &started] { finishAttempt(started, ETIMEDOUT); });
    started.timeout->start(attemptTimeoutMs_);
    attempts_.push_back(std::move(attempt));
    ++running_;
    return true;
}

void TcpConnector::finishAttempt(Attempt& attempt, int error) {
    // The notifier and timer stay until the end: this runs inside their signals.
    attempt.writable->setEnabled(false);
    attempt.timeout->stop();
    --running_;
    if (error == 0) {
        connected_ = attempt.socket;
        attempt.socket = -1;
        loop_->quit();
        return;
    }
    lastError_ = error;
    ::close(attempt.socket);
    attempt.socket = -1;
    nextAttempt_.stop();
    startNextAttempts();
}

void TcpConnector::endAllAttempts() {
    nextAttempt_.stop();
    for (const std::unique_ptr<Attempt>& attempt : attempts_) {
        if (attempt->socket >= 0) {
            attempt->writable->setEnabled(false);
            ::close(attempt->socket);
        }
    }
    attempts_.clear();
    running_ = 0;
    waiting_.clear();
}

} // namespace brindle
