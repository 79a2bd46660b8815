// Times one full mail check by our client against curl and Python's poplib on
// the same Dovecot mailbox, prints our client's peak memory, and times the real
// program's check from its menu to the notice board on a virtual display.
//   pop3_bench               fill a mailbox, run them all, print the figures
//   pop3_bench check <url>   one check by our client (run as a child process)
#include "mail/pop3/Pop3MailClient.h"
#include "support/DovecotServer.h"
#include "support/ProgramCopy.h"
#include "support/PulseAudioServer.h"
#include "support/VirtualDisplay.h"
#include "support/XWindows.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <optional>

using namespace brindle::test;

namespace {

constexpr int messageCount = 1000;
constexpr int messageSize = 20 * 1024;
constexpr int rounds = 3;
// The program's moments of one check, in order (BRINDLE_TRACE_TIMES).
constexpr const char* checkMarks[] = {"menu-chosen", "session-open", "logged-in", "fetched",
                                      "board-shown"};
constexpr int checkMailMenuItem = 0;
constexpr int boardWaitMs = 120000;

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
    QElapsedTimer sessionTime;
    sessionTime.start();
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
    std::printf("%d %lld %ld %ld %.6f\n", count, static_cast<long long>(bytes), before, peakKib(),
                sessionTime.nsecsElapsed() / 1e9);
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

// The "brindle-time <name> <seconds>" lines of the program's error output.
QMap<QByteArray, double> readMarks(QProcess& program, const char* last) {
    QMap<QByteArray, double> marks;
    QElapsedTimer waited;
    waited.start();
    while (!marks.contains(last) && waited.elapsed() < boardWaitMs &&
           program.state() == QProcess::Running) {
        program.waitForReadyRead(1000);
        while (program.canReadLine()) {
            const QList<QByteArray> fields = program.readLine().trimmed().split(' ');
            if (fields.size() == 3 && fields[0] == "brindle-time") {
                marks.insert(fields[1], fields[2].toDouble());
            }
        }
    }
    return marks;
}

// One check of the real program, started afresh on the display, chosen from its
// menu: the moments of checkMarks, or nothing when the board did not show.
std::optional<QMap<QByteArray, double>> checkFromMenu(const VirtualDisplay& display,
                                                      const QString& server) {
    ProgramCopy program(ProgramCopy::Settings::None);
    program.setAccount(DovecotServer::user, DovecotServer::password);
    program.setPop3Server(server.toUtf8());
    QProcessEnvironment environment = display.environment();
    environment.insert("BRINDLE_TRACE_TIMES", "1");
    const XWindows windows(environment);
    program.process().process().setReadChannel(QProcess::StandardError);
    if (!program.ready() || !program.start(environment)) {
        return std::nullopt;
    }
    const XWindows::Id window = windows.waitFor("Brindle Ver 1.0");
    // Start-up work (the scene page, WebEngine's processes) is done by then.
    QThread::sleep(3);
    if (window == 0 || !windows.chooseMenuItem(window, checkMailMenuItem)) {
        return std::nullopt;
    }
    QMap<QByteArray, double> marks = readMarks(program.process().process(), "board-shown");
    program.process().stop();
    for (const char* name : checkMarks) {
        if (!marks.contains(name)) {
            std::fprintf(stderr, "the program did not mark %s\n", name);
            return std::nullopt;
        }
    }
    return marks;
}

// Seconds from the menu to the board, best of rounds, with the best run's steps.
std::optional<QMap<QByteArray, double>> bestCheckFromMenu(const QString& server,
                                                          QList<double>& totals) {
    PulseAudioServer sound;
    VirtualDisplay display(VirtualDisplay::Manager::Openbox);
    if (!sound.start() || !display.ready()) {
        std::fprintf(stderr, "no sound server or virtual display\n");
        return std::nullopt;
    }
    // The new-mail tune plays as on a desktop, into the private sound server.
    sound.serveThisProcess();
    std::optional<QMap<QByteArray, double>> best;
    for (int round = 0; round < rounds; ++round) {
        const auto marks = checkFromMenu(display, server);
        if (!marks) {
            return std::nullopt;
        }
        totals.append(marks->value("board-shown") - marks->value("menu-chosen"));
        if (!best || totals.back() < best->value("board-shown") - best->value("menu-chosen")) {
            best = marks;
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
    QList<double> endToEnd;
    const auto steps = bestCheckFromMenu("pop3://127.0.0.1:" + port, endToEnd);
    const QList<QByteArray> figures = ours.output.trimmed().split(' ');
    std::printf("mailbox: %d messages of about %d KiB; best of %d runs each\n", messageCount,
                messageSize / 1024, rounds);
    std::printf("ours   (TOP+LIST+RETR each, one connection): %7.3f s\n", ours.seconds);
    std::printf("curl   (RETR each, one connection):          %7.3f s\n", curl.seconds);
    std::printf("poplib (TOP+LIST+RETR each, one connection): %7.3f s\n", poplib.seconds);
    std::printf("ratio ours/curl:   %.2f\n", ours.seconds / curl.seconds);
    std::printf("ratio ours/poplib: %.2f\n", ours.seconds / poplib.seconds);
    std::printf("ours from connecting to the last message, in the process: %.3f s\n",
                figures.value(4).toDouble());
    std::printf("ours fetched %s bytes in %s messages; peak RSS %.1f MiB (%.1f MiB before "
                "connecting)\n",
                figures.value(1).constData(), figures.value(0).constData(),
                figures.value(3).toLong() / 1024.0, figures.value(2).toLong() / 1024.0);
    if (!steps) {
        std::printf("the program's check from the menu to the board failed\n");
        return 1;
    }
    const auto [fastest, slowest] = std::minmax_element(endToEnd.begin(), endToEnd.end());
    std::printf("program, menu to notice board (Xvfb, openbox): %7.3f s best, %.3f-%.3f s in %d "
                "runs\n",
                *fastest, *fastest, *slowest, rounds);
    for (size_t step = 1; step < std::size(checkMarks); ++step) {
        std::printf("    %-13s -> %-13s %7.3f s\n", checkMarks[step - 1], checkMarks[step],
                    steps->value(checkMarks[step]) - steps->value(checkMarks[step - 1]));
    }
    std::printf("ratio program end to end/curl: %.2f (goal: at most 0.6)\n",
                *fastest / curl.seconds);
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
