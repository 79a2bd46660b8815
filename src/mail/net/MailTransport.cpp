#include "mail/net/MailTransport.h"

#include "mail/net/HostLookup.h"
#include "mail/net/LocalEventLoop.h"
#include "mail/net/TcpConnector.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brindle {

namespace {

constexpr size_t tlsPairBufferSize = 64 * 1024;
// The most a single receive hands to a reply reader.
constexpr qsizetype receiveChunkSize = 64 * 1024;

bool isIpAddress(const QByteArray& host) {
    in6_addr address{};
    return inet_pton(AF_INET, host.constData(), &address) == 1 ||
           inet_pton(AF_INET6, host.constData(), &address) == 1;
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString openSslError() {
    const unsigned long error = ERR_peek_last_error();
    const char* reason = error == 0 ? nullptr : ERR_reason_error_string(error);
    return reason == nullptr ? QCoreApplication::translate("brindle::MailTransport", "不明な原因")
                             : QString::fromLatin1(reason);
}

} // namespace

MailTransport::MailTransport(const ConnectionOptions& options)
    : options_(options), receiveBuffer_(receiveChunkSize, Qt::Uninitialized) {}

MailTransport::~MailTransport() {
    close();
}

bool MailTransport::connectTo(const QString& host, quint16 port) {
    deadline_ = QDeadlineTimer(options_.sessionDeadlineMs);
    HostLookup lookup;
    const std::optional<QList<QHostAddress>> addresses =
        lookup.lookUp(host, boundedByDeadline(options_.lookupTimeoutMs));
    if (!addresses) {
        return beforeDeadline() && fail(lookup.errorText());
    }
    TcpConnector connector(options_.connectTimeoutMs, options_.connectAttemptDelayMs,
                           options_.maxConnectAddresses);
    socket_ = connector.connect(*addresses, port, deadline_);
    if (socket_ < 0) {
        return beforeDeadline() && fail(tr("サーバー %1 (ポート %2) に接続できません: %3")
                                            .arg(host)
                                            .arg(port)
                                            .arg(systemError(connector.lastError())));
    }
    const int noDelay = 1;
    setsockopt(socket_, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    return true;
}

bool MailTransport::startTls(const QString& host) {
    context_ = SSL_CTX_new(TLS_client_method());
    if (context_ == nullptr) {
        return failTls(tr("TLS を準備できません"));
    }
    SSL_CTX_set_default_verify_paths(context_);
    SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
    SSL_CTX_set_verify(context_, SSL_VERIFY_PEER, nullptr);
    ssl_ = SSL_new(context_);
    BIO* internal = nullptr;
    if (ssl_ == nullptr ||
        BIO_new_bio_pair(&internal, tlsPairBufferSize, &network_, tlsPairBufferSize) != 1) {
        return failTls(tr("TLS を準備できません"));
    }
    SSL_set_bio(ssl_, internal, internal);
    const QByteArray hostBytes = host.toUtf8();
    if (isIpAddress(hostBytes)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), hostBytes.constData());
    } else {
        SSL_set_tlsext_host_name(ssl_, hostBytes.constData());
        SSL_set1_host(ssl_, hostBytes.constData());
    }
    SSL_set_connect_state(ssl_);
    for (;;) {
        ERR_clear_error();
        const int result = SSL_do_handshake(ssl_);
        const int error = SSL_get_error(ssl_, result);
        if (!flushTlsOutput()) {
            return false;
        }
        if (result == 1) {
            return true;
        }
        if (error == SSL_ERROR_WANT_READ) {
            const qint64 received = fillTlsInput();
            if (received < 0) {
                return false;
            }
            if (received == 0) {
                return fail(tr("TLS の開始中にサーバーが接続を切りました"));
            }
        } else if (error != SSL_ERROR_WANT_WRITE) {
            const long verification = SSL_get_verify_result(ssl_);
            if (verification != X509_V_OK) {
                return fail(
                    tr("サーバー証明書を確認できません: %1")
                        .arg(QString::fromLatin1(X509_verify_cert_error_string(verification))));
            }
            return failTls(tr("TLS を開始できません"));
        }
    }
}

bool MailTransport::send(const QByteArray& data) {
    return ssl_ != nullptr ? sendTls(data) : sendPlain(data.constData(), data.size());
}

std::optional<QByteArrayView> MailTransport::receiveSome() {
    char* buffer = receiveBuffer_.data();
    const qint64 capacity = receiveBuffer_.size();
    const qint64 received =
        ssl_ != nullptr ? receiveTls(buffer, capacity) : receivePlain(buffer, capacity);
    if (received == 0) {
        fail(tr("サーバーが途中で接続を切りました"));
    }
    if (received <= 0) {
        return std::nullopt;
    }
    return QByteArrayView(buffer, received);
}

void MailTransport::close() {
    if (ssl_ != nullptr) {
        SSL_free(ssl_); // also frees the internal half of the pair
        ssl_ = nullptr;
    }
    if (network_ != nullptr) {
        BIO_free(network_);
        network_ = nullptr;
    }
    if (context_ != nullptr) {
        SSL_CTX_free(context_);
        context_ = nullptr;
    }
    if (socket_ >= 0) {
        ::close(socket_);
        socket_ = -1;
    }
}

bool MailTransport::hasBufferedInput() const {
    return ssl_ != nullptr && (SSL_pending(ssl_) > 0 || BIO_ctrl_pending(SSL_get_rbio(ssl_)) > 0);
}

void MailTransport::restartDeadline() {
    deadline_ = QDeadlineTimer(options_.sessionDeadlineMs);
}

bool MailTransport::waitFor(QSocketNotifier::Type type, int timeoutMs, const QString& timeoutText) {
    const int wait = boundedByDeadline(timeoutMs);
    QEventLoop loop;
    QSocketNotifier notifier(qintptr(socket_), type);
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    bool ready = false;
    bool timedOut = false;
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        ready = true;
        loop.quit();
    });
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    timer.start(wait);
    runEventLoopUntil(loop, [&] { return ready || timedOut; });
    if (!timedOut) {
        return true;
    }
    return wait < timeoutMs ? failPastDeadline() : fail(timeoutText);
}

int MailTransport::boundedByDeadline(int timeoutMs) const {
    const int wait = std::max(timeoutMs, 0);
    return deadline_.isForever() ? wait
                                 : int(std::clamp<qint64>(deadline_.remainingTime(), 0, wait));
}

bool MailTransport::beforeDeadline() {
    return !deadline_.hasExpired() || failPastDeadline();
}

bool MailTransport::failPastDeadline() {
    return fail(tr("制限時間の %1 秒を過ぎたため、サーバーとの接続を打ち切りました")
                    .arg(options_.sessionDeadlineMs / 1000.0));
}

qint64 MailTransport::receivePlain(char* buffer, qint64 capacity) {
    // Checked before every transfer too: a server that always has bytes ready
    // never makes the client wait.
    if (!beforeDeadline()) {
        return -1;
    }
    for (;;) {
        const ssize_t received = ::recv(socket_, buffer, size_t(capacity), 0);
        if (received >= 0) {
            return received;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(QSocketNotifier::Read, options_.replyTimeoutMs,
                         tr("サーバーから %1 秒以上応答がありません")
                             .arg(options_.replyTimeoutMs / 1000.0))) {
                return -1;
            }
        } else if (errno != EINTR) {
            fail(tr("サーバーとの接続が切れました: %1").arg(systemError(errno)));
            return -1;
        }
    }
}

bool MailTransport::sendPlain(const char* data, qint64 size) {
    if (!beforeDeadline()) {
        return false;
    }
    while (size > 0) {
        const ssize_t sent = ::send(socket_, data, size_t(size), MSG_NOSIGNAL);
        if (sent >= 0) {
            data += sent;
            size -= sent;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!waitFor(
                    QSocketNotifier::Write, options_.replyTimeoutMs,
                    tr("サーバーが %1 秒以上受信しません").arg(options_.replyTimeoutMs / 1000.0))) {
                return false;
            }
        } else if (errno != EINTR) {
            return fail(tr("サーバーとの接続が切れました: %1").arg(systemError(errno)));
        }
    }
    return true;
}

qint64 MailTransport::receiveTls(char* buffer, qint64 capacity) {
    for (;;) {
        ERR_clear_error();
        const int received = SSL_read(ssl_, buffer, int(std::min<qint64>(capacity, INT_MAX)));
        const int error = SSL_get_error(ssl_, received);
        if (!flushTlsOutput()) {
            return -1;
        }
        if (received > 0) {
            return received;
        }
        if (error == SSL_ERROR_ZERO_RETURN) {
            return 0;
        }
        if (error == SSL_ERROR_WANT_READ) {
            const qint64 filled = fillTlsInput();
            if (filled <= 0) {
                return filled;
            }
        } else if (error != SSL_ERROR_WANT_WRITE) {
            failTls(tr("TLS の受信に失敗しました"));
            return -1;
        }
    }
}

bool MailTransport::sendTls(const QByteArray& data) {
    qsizetype offset = 0;
    while (offset < data.size()) {
        ERR_clear_error();
        const int sent = SSL_write(ssl_, data.constData() + offset,
                                   int(std::min<qsizetype>(data.size() - offset, INT_MAX)));
        const int error = SSL_get_error(ssl_, sent);
        if (!flushTlsOutput()) {
            return false;
        }
        if (sent > 0) {
            offset += sent;
        } else if (error == SSL_ERROR_WANT_READ) {
            if (fillTlsInput() <= 0) {
                return fail(tr("サーバーとの接続が切れました"));
            }
        } else if (error != SSL_ERROR_WANT_WRITE) {
            return failTls(tr("TLS の送信に失敗しました"));
        }
    }
    return true;
}

bool MailTransport::flushTlsOutput() {
    while (BIO_ctrl_pending(network_) > 0) {
        const int taken = BIO_read(network_, tlsBuffer_.data(), int(tlsBuffer_.size()));
        if (taken <= 0 || !sendPlain(tlsBuffer_.data(), taken)) {
            return taken > 0 ? false : fail(tr("TLS の送信に失敗しました"));
        }
    }
    return true;
}

qint64 MailTransport::fillTlsInput() {
    const size_t room = std::min(BIO_ctrl_get_write_guarantee(network_), tlsBuffer_.size());
    const qint64 received = receivePlain(tlsBuffer_.data(), qint64(room));
    if (received > 0 && BIO_write(network_, tlsBuffer_.data(), int(received)) != received) {
        fail(tr("TLS の受信に失敗しました"));
        return -1;
    }
    return received;
}

bool MailTransport::fail(const QString& text) {
    errorText_ = text;
    return false;
}

bool MailTransport::failTls(const QString& context) {
    return fail(QStringLiteral("%1: %2").arg(context, openSslError()));
}

} // namespace brindle
