#include "app/TerminationSignals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace brindle {

namespace {

int writeEnd = -1;

// Only async-signal-safe work here: one byte into the pipe.
void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
}

} // namespace

TerminationSignals::TerminationSignals() {
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    writeEnd = pipe_[1];
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    if (writeEnd < 0) {
        return;
    }
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::signal(signal, SIG_DFL);
    }
    writeEnd = -1;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void TerminationSignals::deliver() {
    if (writeEnd < 0 || notifier_ != nullptr) {
        return;
    }
    // The notifier needs the application's event loop, so it comes only now;
    // bytes written before wait in the pipe and wake it at once.
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readPending);
}

void TerminationSignals::readPending() {
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    emit requested();
}

} // namespace brindle
