#include "support/ScriptedMailServer.h"

#include <QString>
#include <gtest/gtest.h>
#include <netinet/in.h>
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
}

ScriptedMailServer& ScriptedMailServer::say(const QByteArray& bytes) {
    steps_.push_back({Step::Kind::Say, bytes, 0});
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
    steps_.push_back({Step::Kind::AnswerEveryLine, reply, 0});
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

QList<int> ScriptedMailServer::repliesBeforeEachLine() {
    clientLines();
    return repliesBefore_;
}

void ScriptedMailServer::serve() {
    if (!waitReadable(listener_)) {
        return;
    }
    int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    const auto hangUpNow = [&connection] {
        ::close(connection);
        connection = -1;
    };
    const auto say = [&](const QByteArray& bytes) {
        ++repliesSent_;
        return ::send(connection, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) >= 0;
    };
    for (const Step& step : steps_) {
        switch (step.kind) {
        case Step::Kind::Say:
            // A client that gave up (what some tests want) ends the play.
            if (!say(step.bytes)) {
                hangUpNow();
                return;
            }
            break;
        case Step::Kind::Hear:
            for (int line = 0; line < step.amount; ++line) {
                if (!readLine(connection)) {
                    hangUpNow();
                    return;
                }
            }
            break;
        case Step::Kind::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.amount));
            break;
        case Step::Kind::HangUp:
            hangUpNow();
            return;
        case Step::Kind::AnswerEveryLine:
            while (readLine(connection) && say(step.bytes)) {
            }
            hangUpNow();
            return;
        }
    }
    while (readLine(connection)) {
    }
    hangUpNow();
}

bool ScriptedMailServer::readLine(int connection) {
    for (;;) {
        const qsizetype end = pendingInput_.indexOf("\r\n");
        if (end >= 0) {
            lines_.append(pendingInput_.left(end));
            repliesBefore_.append(repliesBeforeInput_);
            pendingInput_.remove(0, end + 2);
            return true;
        }
        char buffer[4096];
        if (!waitReadable(connection)) {
            return false;
        }
        const ssize_t received = ::recv(connection, buffer, sizeof buffer, 0);
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

} // namespace brindle::test
