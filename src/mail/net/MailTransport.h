#pragma once

#include "mail/net/ConnectionOptions.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QString>
#include <array>
#include <openssl/types.h>
#include <optional>

namespace brindle {

// A non-blocking TCP connection, optionally wrapped in TLS. Every wait runs a
// local event loop, so window events go on while the network is slow, and ends
// at the session deadline that starts with connectTo().
// TLS goes through a BIO pair; this class moves the bytes to and from the
// socket itself (with MSG_NOSIGNAL, so a dropped peer never raises SIGPIPE).
class MailTransport {
    Q_DECLARE_TR_FUNCTIONS(brindle::MailTransport)

public:
    explicit MailTransport(const ConnectionOptions& options);
    ~MailTransport();
    MailTransport(const MailTransport&) = delete;
    MailTransport& operator=(const MailTransport&) = delete;

    // Looks host up and connects to one of its addresses; false when none accepts.
    bool connectTo(const QString& host, quint16 port);
    // TLS handshake, verifying the certificate chain against the system's
    // trust store and the certificate against host.
    bool startTls(const QString& host);
    bool isTls() const { return ssl_ != nullptr; }
    bool send(const QByteArray& data);
    // Waits for the server's next bytes, at most 64 KiB: a view of them, valid
    // until the next call, or nullopt when the server closed or on failure
    // (errorText() says which).
    std::optional<QByteArrayView> receiveSome();
    void close();
    QString errorText() const { return errorText_; }
    // For a caller that waits for the server's next word without polling.
    int socketDescriptor() const { return socket_; }
    // True when received bytes wait inside TLS, where the socket no longer
    // shows them as readable.
    bool hasBufferedInput() const;
    // A new session deadline from now, for a connection that stands open for
    // long and works only now and then.
    void restartDeadline();

private:
    // Waits until the socket is ready; false after timeoutMs (failing with
    // timeoutText) or at the deadline.
    bool waitFor(QSocketNotifier::Type type, int timeoutMs, const QString& timeoutText);
    // timeoutMs, cut to what is left before the deadline.
    int boundedByDeadline(int timeoutMs) const;
    // True while the deadline is ahead; past it, fails with a text that says so.
    bool beforeDeadline();
    bool failPastDeadline();
    qint64 receivePlain(char* buffer, qint64 capacity);
    bool sendPlain(const char* data, qint64 size);
    qint64 receiveTls(char* buffer, qint64 capacity);
    bool sendTls(const QByteArray& data);
    // Moves encrypted bytes between the BIO pair and the socket.
    bool flushTlsOutput();
    qint64 fillTlsInput();
    bool fail(const QString& text);
    bool failTls(const QString& context);

    ConnectionOptions options_;
    QDeadlineTimer deadline_;
    int socket_ = -1;
    SSL_CTX* context_ = nullptr;
    SSL* ssl_ = nullptr;
    BIO* network_ = nullptr;
    std::array<char, 16 * 1024> tlsBuffer_{};
    QByteArray receiveBuffer_;
    QString errorText_;
};

} // namespace brindle
