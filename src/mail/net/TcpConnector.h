#pragma once

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QList>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <vector>

class QEventLoop;

namespace brindle {

// Connects to the first of a name's addresses that accepts, the way RFC 8305
// ("Happy Eyeballs") races them: the families take turns, the first address is
// tried at once and each next one as soon as a try fails or attemptDelayMs after
// the last one started, while the earlier tries go on. Each try has its own
// time-out, so an address that drops packets costs only the delay. Waits in a
// local event loop, so window events go on.
class TcpConnector {
public:
    TcpConnector(int attemptTimeoutMs, int attemptDelayMs, int maxAddresses);
    ~TcpConnector();
    TcpConnector(const TcpConnector&) = delete;
    TcpConnector& operator=(const TcpConnector&) = delete;

    // A connected non-blocking socket that the caller owns, or -1 when no address
    // accepted before its time-out or the deadline (lastError() holds the errno).
    int connect(const QList<QHostAddress>& addresses, quint16 port, QDeadlineTimer deadline);
    int lastError() const { return lastError_; }

private:
    struct Attempt {
        int socket = -1;
        std::unique_ptr<QSocketNotifier> writable;
        std::unique_ptr<QTimer> timeout;
    };

    // The addresses to try, families alternating, at most maxAddresses_.
    QList<QHostAddress> tryOrder(const QList<QHostAddress>& addresses) const;
    void startNextAttempts();
    // Starts one try; false when it failed at once.
    bool startAttempt(const QHostAddress& address);
    void finishAttempt(Attempt& attempt, int error);
    void endAllAttempts();

    int attemptTimeoutMs_;
    int attemptDelayMs_;
    int maxAddresses_;
    quint16 port_ = 0;
    QList<QHostAddress> waiting_;
    // Every try of this call; ended ones keep their entry (socket -1) until the end.
    std::vector<std::unique_ptr<Attempt>> attempts_;
    int running_ = 0;
    QTimer nextAttempt_;
    QEventLoop* loop_ = nullptr;
    int connected_ = -1;
    int lastError_ = 0;
};

} // namespace brindle
