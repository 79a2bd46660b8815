// Times one full mail check by our client against curl and Python's poplib on
// the same Dovecot mailbox, and prints our client's peak memory.
//   pop3_bench               fill a mailbox, run all three, print the figures
//   pop3_bench check <url>   one check by our client (run as a child process)
#include "mail/pop3/Pop3MailClient.h"
#include "support/DovecotServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>

using brindle::test::DovecotServer;

namespace {

constexpr int messageCount = 1000;
constexpr int messageSize = 20 * 1024;
constexpr int rounds = 3;

// Peak resident memory of this process so far, in KiB.
long peakKib() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

int runCheck(const QString& server) {
    const long before = peakKib();
    brindle::Pop3MailClient client;
    int count = -1;
    qint64 bytes = 0;
    if (const std::unique_ptr<brindle::MailSession> session = client.open(server)) {
        const auto loggedIn = session->logIn(DovecotServer::user, DovecotServer::password,
                                             brindle::MailSession::Authentication::UserPass);
        count = std::holds_alternative<int>(loggedIn) ? std::get<int>(loggedIn) : -1;
        for (int number = 1; number <= count; ++number) {
            session->header(number);
            session->size(number);
            bytes += session->fetch(number).value_or(QByteArray()).size();
        }
    }
    std::printf("%d %lld %ld %ld\n", count, static_cast<long long>(bytes), before, peakKib());
    return count == messageCount ? 0 : 1;
}

QByteArray benchMessage(int number) {
    QByteArray message = "From: sender@example.jp\r\nTo: alice@example.jp\r\nSubject: bench " +
                         QByteArray::number(number) +
                         "\r\nDate: Mon, 1 Jan 2024 00:00:00 +0900\r\n\r\n";
    for (int line = 0; message.size() < messageSize; ++line) {
        // Every tenth line starts with a dot, so dot-stuffing is exercised.
        message += (line % 10 == 0 ? "." : "") + QByteArray(70, char('a' + line % 26)) + "\r\n";
    }
    return message;
}

struct Timing {
    double seconds = 0;
    QByteArray output;
};

// Best of rounds runs of the program, in seconds.
Timing timeBest(const QString& program, const QStringList& arguments) {
    Timing best{1e9, {}};
    for (int round = 0; round < rounds; ++round) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        process.waitForFinished(600000);
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (process.exitCode() != 0) {
            std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                         process.readAllStandardError().constData());
            return {-1, {}};
        }
        if (seconds < best.seconds) {
            best = {seconds, process.readAllStandardOutput()};
        }
    }
    return best;
}

int runBench(const QString& self) {
    DovecotServer server;
    for (int number = 1; number <= messageCount; ++number) {
        server.deliver(benchMessage(number));
    }
    if (!server.start()) {
        return 1;
    }
    const QString port = QString::number(server.pop3Port());
    QTemporaryFile curlConfig;
    curlConfig.open();
    curlConfig.write(QByteArray("silent\nuser = \"") + DovecotServer::user + ':' +
                     DovecotServer::password + "\"\n");
    for (int number = 1; number <= messageCount; ++number) {
        curlConfig.write("url = \"pop3://127.0.0.1:" + port.toUtf8() + '/' +
                         QByteArray::number(number) + "\"\noutput = \"/dev/null\"\n");
    }
    curlConfig.close();

    // A first pass lets Dovecot build its index, so no contender pays for it.
    timeBest("curl", {"-K", curlConfig.fileName()});
    const Timing ours = timeBest(self, {"check", "pop3://127.0.0.1:" + port});
    const Timing curl = timeBest("curl", {"-K", curlConfig.fileName()});
    const Timing poplib =
        timeBest("python3", {QStringLiteral(BRINDLE_BENCH_DIR "/poplib_check.py"), "127.0.0.1",
                             port, DovecotServer::user, DovecotServer::password});
    const QList<QByteArray> figures = ours.output.trimmed().split(' ');
    std::printf("mailbox: %d messages of about %d KiB; best of %d runs each\n", messageCount,
                messageSize / 1024, rounds);
    std::printf("ours   (TOP+LIST+RETR each, one connection): %7.3f s\n", ours.seconds);
    std::printf("curl   (RETR each, one connection):          %7.3f s\n", curl.seconds);
    std::printf("poplib (TOP+LIST+RETR each, one connection): %7.3f s\n", poplib.seconds);
    std::printf("ratio ours/curl:   %.2f\n", ours.seconds / curl.seconds);
    std::printf("ratio ours/poplib: %.2f\n", ours.seconds / poplib.seconds);
    std::printf("ours fetched %s bytes in %s messages; peak RSS %.1f MiB (%.1f MiB before "
                "connecting)\n",
                figures.value(1).constData(), figures.value(0).constData(),
                figures.value(3).toLong() / 1024.0, figures.value(2).toLong() / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 3 && arguments.at(1) == "check") {
        return runCheck(arguments.at(2));
    }
    return runBench(app.applicationFilePath());
}
