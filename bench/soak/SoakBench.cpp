// Runs many mail checks in a row against a private Dovecot on loopback, each as
// the program makes it (connect, log in, fetch every message, close), and prints
// the resident memory and open file descriptors of this process along the way.
//   soak_bench [checks] [--plain]
// The server field is "127.0.0.1:port", so every check switches to TLS with
// STLS; --plain uses "pop3://127.0.0.1:port" instead.
#include "mail/ReadMessages.h"
#include "mail/pop3/Pop3MailClient.h"
#include "support/DovecotServer.h"
#include "support/TestCertificates.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

using brindle::test::DovecotServer;

namespace {

constexpr int defaultChecks = 10000;
constexpr int messageCount = 3;

QByteArray message(int number) {
    return "From: sender@example.jp\r\nTo: alice@example.jp\r\nSubject: soak " +
           QByteArray::number(number) + "\r\n\r\n" + QByteArray(2000, char('a' + number)) + "\r\n";
}

long residentKib() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

long openDescriptors() {
    return long(QDir(QStringLiteral("/proc/self/fd"))
                    .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                    .size());
}

struct Sample {
    long rssKib;
    long fds;
};

Sample sample(const char* when, int done) {
    const Sample now{residentKib(), openDescriptors()};
    std::printf("%-14s after %5d checks: RSS %6ld KiB, %3ld open file descriptors\n", when, done,
                now.rssKib, now.fds);
    std::fflush(stdout);
    return now;
}

// One check the way the main window makes it: the message count, or -1 with
// the reason in error.
int check(brindle::MailClient& client, const QString& server, QString& error) {
    const std::unique_ptr<brindle::MailSession> session = client.open(server);
    if (!session) {
        error = QStringLiteral("no connection");
        return -1;
    }
    const auto loggedIn = session->logIn(DovecotServer::user, DovecotServer::password,
                                         brindle::MailSession::Authentication::UserPass);
    if (const auto* failed = std::get_if<brindle::MailError>(&loggedIn)) {
        error = failed->text;
        return -1;
    }
    const int count = std::get<int>(loggedIn);
    brindle::readMessages(*session, count);
    return count;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    const bool plain = arguments.contains(QStringLiteral("--plain"));
    const int asked = arguments.value(0).toInt();
    const int checks = asked > 0 ? asked : defaultChecks;

    brindle::test::TempFolder certificateFolder;
    brindle::test::TestCertificates certificates(certificateFolder.path());
    DovecotServer server;
    if (!plain) {
        if (!certificates.isValid() ||
            !certificates.issue(QStringLiteral("server"), {QStringLiteral("IP:127.0.0.1")})) {
            std::fprintf(stderr, "could not make the test certificates\n");
            return 1;
        }
        qputenv("SSL_CERT_FILE", QFile::encodeName(certificates.authorityFile()));
        server.enableTls(certificates.certificateFile(QStringLiteral("server")),
                         certificates.keyFile(QStringLiteral("server")));
    }
    for (int number = 1; number <= messageCount; ++number) {
        server.deliver(message(number));
    }
    if (!server.start()) {
        std::fprintf(stderr, "Dovecot did not start\n");
        return 1;
    }
    const QString address = (plain ? QStringLiteral("pop3://") : QString()) +
                            QStringLiteral("127.0.0.1:%1").arg(server.pop3Port());
    std::printf("%d checks of %s (%s), a mailbox of %d messages\n", checks, qPrintable(address),
                plain ? "plain POP3" : "STLS", messageCount);

    brindle::Pop3MailClient client;
    const Sample start = sample("start", 0);
    QElapsedTimer timer;
    timer.start();
    int failures = 0;
    Sample first{};
    Sample middle{};
    for (int done = 1; done <= checks; ++done) {
        QString error;
        if (check(client, address, error) != messageCount) {
            if (++failures <= 3) {
                std::fprintf(stderr, "check %d failed: %s\n", done, qPrintable(error));
            }
        }
        if (done == 1) {
            first = sample("first check", done);
        }
        if (done == checks / 2) {
            middle = sample("middle", done);
        }
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    const Sample end = sample("end", checks);

    std::printf("%d checks in %.1f s (%.1f ms each), %d failed\n", checks, seconds,
                1000 * seconds / checks, failures);
    std::printf("from the first check to the end: RSS %+ld KiB, file descriptors %+ld"
                " (from the start: RSS %+ld KiB, file descriptors %+ld)\n",
                end.rssKib - first.rssKib, end.fds - first.fds, end.rssKib - start.rssKib,
                end.fds - start.fds);
    std::printf("from the middle to the end: RSS %+ld KiB, file descriptors %+ld\n",
                end.rssKib - middle.rssKib, end.fds - middle.fds);
    return failures == 0 ? 0 : 1;
}
