#pragma once

#include <QByteArray>
#include <QSocketNotifier>
#include <QString>
#include <array>
#include <openssl/types.h>

namespace brindle {

// A non-blocking TCP connection, optionally wrapped in TLS. Every wait runs a
// local event loop, so window events go on while the network is slow.
// TLS goes through a BIO pair; this class moves the bytes to and from the
// socket itself (with MSG_NOSIGNAL, so a dropped peer never raises SIGPIPE).
class Pop3Transport {
public:
    Pop3Transport(int connectTimeoutMs, int replyTimeoutMs);
    ~Pop3Transport();
    Pop3Transport(const Pop3Transport&) = delete;
    Pop3Transport& operator=(const Pop3Transport&) = delete;

    // Tries each address of host in turn; false when none accepts.
    bool connectTo(const QString& host, quint16 port);
    // TLS handshake, verifying the certificate chain against the system's
    // trust store and the certificate against host.
    bool startTls(const QString& host);
    bool isTls() const { return ssl_ != nullptr; }
    bool send(const QByteArray& data);
    // Waits for bytes: the count read, 0 when the server closed, -1 on failure.
    qint64 receive(char* buffer, qint64 capacity);
    void close();
    QString errorText() const { return errorText_; }

private:
    bool waitFor(QSocketNotifier::Type type, int timeoutMs);
    qint64 receivePlain(char* buffer, qint64 capacity);
    bool sendPlain(const char* data, qint64 size);
    qint64 receiveTls(char* buffer, qint64 capacity);
    bool sendTls(const QByteArray& data);
    // Moves encrypted bytes between the BIO pair and the socket.
    bool flushTlsOutput();
    qint64 fillTlsInput();
    bool fail(const QString& text);
    bool failTls(const QString& context);

    int connectTimeoutMs_;
    int replyTimeoutMs_;
    int socket_ = -1;
    SSL_CTX* context_ = nullptr;
    SSL* ssl_ = nullptr;
    BIO* network_ = nullptr;
    std::array<char, 16 * 1024> tlsBuffer_{};
    QString errorText_;
};

} // namespace brindle
