#include "support/ScriptedMailServer.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace brindle::test {

namespace {

// No test session lasts longer; a client that never talks or never hangs up
// ends the server's wait here.
constexpr int idleLimitMs = 10000;

bool waitReadable(int socket) {
    pollfd entry{socket, POLLIN, 0};
    return poll(&entry, 1, idleLimitMs) == 1;
}

} // namespace

ScriptedMailServer::ScriptedMailServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), length), 0);
    EXPECT_EQ(::listen(listener_, 1), 0);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
}

ScriptedMailServer::~ScriptedMailServer() {
    if (thread_.joinable()) {
        thread_.join();
    }
    ::close(listener_);
    SSL_CTX_free(tls_);
}

ScriptedMailServer& ScriptedMailServer::useTls(const QString& certificateFile,
                                               const QString& keyFile) {
    tls_ = SSL_CTX_new(TLS_server_method());
    SSL_CTX_set_num_tickets(tls_, 0);
    EXPECT_EQ(SSL_CTX_use_certificate_chain_file(tls_, QFile::encodeName(certificateFile)), 1);
    EXPECT_EQ(SSL_CTX_use_PrivateKey_file(tls_, QFile::encodeName(keyFile), SSL_FILETYPE_PEM), 1);
    return *this;
}

ScriptedMailServer& ScriptedMailServer::say(const QByteArray& bytes) {
    return sayAtOnce({bytes});
}

ScriptedMailServer& ScriptedMailServer::sayAtOnce(const QList<QByteArray>& parts) {
    steps_.push_back({Step::Kind::Say, parts, 0});
    return *this;
}

ScriptedMailServer& ScriptedMailServer::sayRepeatedly(const QByteArray& bytes, qint64 limit) {
    steps_.push_back({Step::Kind::SayRepeatedly, {bytes}, limit});
    return *this;
}

ScriptedMailServer& ScriptedMailServer::hear(int lines) {
    steps_.push_back({Step::Kind::Hear, {}, lines});
    return *this;
}

ScriptedMailServer& ScriptedMailServer::pause(int milliseconds) {
    steps_.push_back({Step::Kind::Pause, {}, milliseconds});
    return *this;
}

ScriptedMailServer& ScriptedMailServer::answerEveryLine(const QByteArray& reply) {
    steps_.push_back({Step::Kind::AnswerEveryLine, {reply}, 0});
    return *this;
}

ScriptedMailServer& ScriptedMailServer::nextClient() {
    steps_.push_back({Step::Kind::NextClient, {}, 0});
    return *this;
}

ScriptedMailServer& ScriptedMailServer::hangUp() {
    steps_.push_back({Step::Kind::HangUp, {}, 0});
    return *this;
}

void ScriptedMailServer::start() {
    thread_ = std::thread([this] { serve(); });
}

QString ScriptedMailServer::address(const char* scheme) const {
    return QStringLiteral("%1://127.0.0.1:%2").arg(QLatin1StringView(scheme)).arg(port_);
}

QList<QByteArray> ScriptedMailServer::clientLines() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return lines_;
}

qint64 ScriptedMailServer::repeatedBytesTaken() {
    clientLines();
    return repeatedBytesTaken_;
}

QList<int> ScriptedMailServer::repliesBeforeEachLine() {
    clientLines();
    return repliesBefore_;
}

void ScriptedMailServer::serve() {
    if (!accept()) {
        closeConnection();
        return;
    }
    for (const Step& step : steps_) {
        switch (step.kind) {
        case Step::Kind::Say:
            // A client that gave up (what some tests want) ends the play.
            if (!send(step.parts)) {
                closeConnection();
                return;
            }
            break;
        case Step::Kind::SayRepeatedly:
            while (repeatedBytesTaken_ < step.amount) {
                if (!send(step.parts)) {
                    closeConnection();
                    return;
                }
                repeatedBytesTaken_ += step.parts.front().size();
            }
            break;
        case Step::Kind::Hear:
            for (int line = 0; line < step.amount; ++line) {
                if (!readLine()) {
                    closeConnection();
                    return;
                }
            }
            break;
        case Step::Kind::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.amount));
            break;
        case Step::Kind::HangUp:
            closeConnection();
            return;
        case Step::Kind::AnswerEveryLine:
            while (readLine() && send(step.parts)) {
            }
            closeConnection();
            return;
        case Step::Kind::NextClient:
            closeConnection();
            pendingInput_.clear();
            if (!accept()) {
                closeConnection();
                return;
            }
            break;
        }
    }
    while (readLine()) {
    }
    closeConnection();
}

bool ScriptedMailServer::accept() {
    if (!waitReadable(listener_)) {
        return false;
    }
    connection_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection_ < 0) {
        return false;
    }
    ++clientCount_;
    if (tls_ == nullptr) {
        return true;
    }
    // Through memory, so that one write can carry several records.
    ssl_ = SSL_new(tls_);
    SSL_set_bio(ssl_, BIO_new(BIO_s_mem()), BIO_new(BIO_s_mem()));
    SSL_set_accept_state(ssl_);
    for (;;) {
        const int result = SSL_do_handshake(ssl_);
        if (!send({})) {
            return false;
        }
        if (result == 1) {
            return true;
        }
        if (SSL_get_error(ssl_, result) != SSL_ERROR_WANT_READ || !receiveTls()) {
            return false;
        }
    }
}

void ScriptedMailServer::closeConnection() {
    SSL_free(ssl_);
    ssl_ = nullptr;
    if (connection_ >= 0) {
        ::close(connection_);
        connection_ = -1;
    }
}

bool ScriptedMailServer::send(const QList<QByteArray>& parts) {
    repliesSent_ += parts.isEmpty() ? 0 : 1;
    QByteArray bytes;
    for (const QByteArray& part : parts) {
        if (ssl_ == nullptr) {
            bytes += part;
        } else if (SSL_write(ssl_, part.constData(), int(part.size())) <= 0) {
            return false;
        }
    }
    if (ssl_ != nullptr) {
        BIO* output = SSL_get_wbio(ssl_);
        char* data = nullptr;
        bytes.append(data, BIO_get_mem_data(output, &data));
        BIO_reset(output);
    }
    return bytes.isEmpty() || ::send(connection_, bytes.constData(), size_t(bytes.size()),
                                     MSG_NOSIGNAL) == bytes.size();
}

bool ScriptedMailServer::readLine() {
    for (;;) {
        const qsizetype end = pendingInput_.indexOf("\r\n");
        if (end >= 0) {
            lines_.append(pendingInput_.left(end));
            repliesBefore_.append(repliesBeforeInput_);
            pendingInput_.remove(0, end + 2);
            return true;
        }
        char buffer[4096];
        const qint64 received = receive(buffer, sizeof buffer);
        if (received <= 0) {
            // What a client sent without a line end before hanging up (a TLS
            // handshake, say) is its last line.
            if (!pendingInput_.isEmpty()) {
                lines_.append(std::exchange(pendingInput_, {}));
                repliesBefore_.append(repliesBeforeInput_);
            }
            return false;
        }
        if (pendingInput_.isEmpty()) {
            repliesBeforeInput_ = repliesSent_;
        }
        pendingInput_.append(buffer, received);
    }
}

qint64 ScriptedMailServer::receive(char* buffer, qint64 size) {
    if (ssl_ == nullptr) {
        return waitReadable(connection_) ? ::recv(connection_, buffer, size_t(size), 0) : 0;
    }
    for (;;) {
        const int received = SSL_read(ssl_, buffer, int(size));
        if (received > 0) {
            return received;
        }
        if (SSL_get_error(ssl_, received) != SSL_ERROR_WANT_READ || !send({}) || !receiveTls()) {
            return 0;
        }
    }
}

bool ScriptedMailServer::receiveTls() {
    char buffer[4096];
    if (!waitReadable(connection_)) {
        return false;
    }
    const ssize_t received = ::recv(connection_, buffer, sizeof buffer, 0);
    return received > 0 && BIO_write(SSL_get_rbio(ssl_), buffer, int(received)) == received;
}

} // namespace brindle::test
