#include "presentation/web/ProgramPipe.h"

#include <array>
#include <cerrno>
#include <unistd.h>

namespace brindle {

namespace {

// Bytes read from the pipe at a time.
constexpr std::size_t ReadSize = 64 * 1024;

} // namespace

ProgramPipe::ProgramPipe() : input_(STDIN_FILENO, QSocketNotifier::Read) {
    connect(&input_, &QSocketNotifier::activated, this, &ProgramPipe::readInput);
}

// The program reads what it is sent at once; a write that waits for it is short.
void ProgramPipe::send(const SceneMessage& message) {
    const QByteArray bytes = message.toBytes();
    qsizetype written = 0;
    while (!closed_ && written < bytes.size()) {
        const ssize_t n = ::write(STDOUT_FILENO, bytes.constData() + written,
                                  std::size_t(bytes.size() - written));
        if (n > 0) {
            written += n;
        } else if (errno != EINTR) {
            close("could not be written to");
        }
    }
}

void ProgramPipe::readInput() {
    std::array<char, ReadSize> buffer;
    const ssize_t n = ::read(STDIN_FILENO, buffer.data(), buffer.size());
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
        return;
    }
    if (n <= 0) {
        close(nullptr);
        return;
    }
    reader_.feed(QByteArray(buffer.data(), n));
    SceneMessage message;
    SceneMessageReader::Result result = SceneMessageReader::Result::NeedMore;
    while (!closed_ && (result = reader_.take(message)) == SceneMessageReader::Result::Taken) {
        if (message.kind != SceneMessage::Kind::Show && message.kind != SceneMessage::Kind::Draw) {
            result = SceneMessageReader::Result::Broken;
            break;
        }
        emit received(message);
    }
    if (result == SceneMessageReader::Result::Broken) {
        close("sent what is not a scene message");
    }
}

void ProgramPipe::close(const char* why) {
    if (closed_) {
        return;
    }
    closed_ = true;
    input_.setEnabled(false);
    if (why) {
        qWarning("The scene program's pipe %s; the scene program ends.", why);
    }
    emit closed();
}

} // namespace brindle
