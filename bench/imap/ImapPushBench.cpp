// Push through IMAP IDLE against a private Dovecot with TLS (imaps://):
//  1. from a delivery into the maildir to the watch telling of it, and on to
//     the unseen count of the check that follows (what the board then shows),
//     for a number of deliveries;
//  2. the idle cost of the watch's connection: wake-ups of the main thread
//     and CPU time over a quiet window, beside the same window without a watch
//     and with as many watches as the program keeps for its most mailboxes
//     (one per mailbox, each its own connection).
//   imap_push_bench [deliveries] [window seconds] [watches]
#include "mail/imap/ImapMailClient.h"
#include "support/DovecotServer.h"
#include "support/TempFolder.h"
#include "support/TestCertificates.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using brindle::ImapMailClient;
using brindle::MailAccess;
using brindle::MailSession;
using brindle::test::DovecotServer;

namespace {

// No single wait of the bench lasts longer.
constexpr int waitLimitMs = 30000;

template <typename Done> bool runEventsUntil(Done done, int limitMs) {
    const QDeadlineTimer limit(limitMs);
    QTimer look; // wakes the wait to look at done()
    look.start(50);
    while (!done() && !limit.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

// CPU time of this process (user and system), in seconds.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Quiet {
    int wakeUps = 0;
    int serverWords = 0; // times the IDLE connection had something to read
    double cpuShare = 0;
};

// The IMAP client's debug line for each wake-up by the IDLE connection.
int idleWakeUps = 0;
QtMessageHandler defaultHandler = nullptr;

void countIdleWakeUps(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QStringLiteral("woken during IDLE"))) {
        ++idleWakeUps;
        return;
    }
    defaultHandler(type, context, text);
}

// Runs the event loop for seconds doing nothing of its own (one timer ends
// it); counts how often the main thread woke from its wait.
Quiet measureQuiet(int seconds) {
    int wakeUps = 0;
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    const auto counting =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] { ++wakeUps; });
    const int idleWakeUpsBefore = idleWakeUps;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer elapsed;
    elapsed.start();
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(counting);
    return {wakeUps, idleWakeUps - idleWakeUpsBefore,
            (cpuSeconds() - cpuBefore) / (elapsed.nsecsElapsed() / 1e9) * 100};
}

int unseenCount(ImapMailClient& client, const QString& server) {
    const std::unique_ptr<MailSession> session = client.open(server);
    if (!session) {
        return -1;
    }
    const auto loggedIn = session->logIn(DovecotServer::user, DovecotServer::password,
                                         MailSession::Authentication::UserPass);
    return std::holds_alternative<int>(loggedIn) ? std::get<int>(loggedIn) : -1;
}

QByteArray message(int number) {
    return "From: sender@example.jp\r\nTo: alice@example.jp\r\nSubject: push " +
           QByteArray::number(number) + "\r\n\r\nbody\r\n";
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    defaultHandler = qInstallMessageHandler(countIdleWakeUps);
    QLoggingCategory::setFilterRules(QStringLiteral("brindle.imap.debug=true"));
    const int deliveries = argc > 1 ? std::clamp(atoi(argv[1]), 1, 1000) : 10;
    const int windowSeconds = argc > 2 ? std::clamp(atoi(argv[2]), 1, 3600) : 30;
    const int watchCount = argc > 3 ? std::clamp(atoi(argv[3]), 1, 9) : 8;

    brindle::test::TempFolder certificateFolder;
    brindle::test::TestCertificates certificates(certificateFolder.path());
    if (!certificates.isValid() ||
        !certificates.issue("server", {"DNS:localhost", "IP:127.0.0.1"})) {
        std::fprintf(stderr, "cannot make the test certificates\n");
        return 1;
    }
    qputenv("SSL_CERT_FILE", QFile::encodeName(certificates.authorityFile()));
    DovecotServer server;
    server.enableTls(certificates.certificateFile("server"), certificates.keyFile("server"));
    if (!server.start()) {
        return 1;
    }
    const QString address = QStringLiteral("imaps://localhost:%1").arg(server.imapsPort());
    ImapMailClient client;

    const Quiet without = measureQuiet(windowSeconds);

    int told = 0;
    QElapsedTimer sinceDelivery;
    double lastToldMs = 0;
    const std::unique_ptr<brindle::MailWatch> watch =
        client.watch(MailAccess{address, DovecotServer::user, DovecotServer::password}, [&] {
            ++told;
            lastToldMs = sinceDelivery.isValid() ? sinceDelivery.nsecsElapsed() / 1e6 : 0;
        });
    // The watch's login, then a moment for EXAMINE and IDLE.
    if (!runEventsUntil([&] { return server.loginCount() == 1; }, waitLimitMs)) {
        std::fprintf(stderr, "the watch never logged in\n%s\n", qPrintable(server.log()));
        return 1;
    }
    measureQuiet(1);
    const Quiet with = measureQuiet(windowSeconds);

    // The others, each logged in and waiting in IDLE on a connection of its own.
    std::vector<std::unique_ptr<brindle::MailWatch>> others;
    for (int number = 2; number <= watchCount; ++number) {
        others.push_back(
            client.watch(MailAccess{address, DovecotServer::user, DovecotServer::password}, [] {}));
    }
    if (!runEventsUntil([&] { return server.loginCount() == watchCount; }, waitLimitMs)) {
        std::fprintf(stderr, "not every watch logged in\n%s\n", qPrintable(server.log()));
        return 1;
    }
    measureQuiet(1);
    const Quiet withAll = measureQuiet(windowSeconds);
    others.clear();

    std::vector<double> toldMs;
    std::vector<double> countedMs;
    for (int number = 1; number <= deliveries; ++number) {
        const int before = told;
        sinceDelivery.start();
        server.deliver(message(number));
        if (!runEventsUntil([&] { return told > before; }, waitLimitMs)) {
            std::fprintf(stderr, "delivery %d was never told\n", number);
            return 1;
        }
        toldMs.push_back(lastToldMs);
        if (unseenCount(client, address) != number) {
            std::fprintf(stderr, "the check after delivery %d found another count\n", number);
            return 1;
        }
        countedMs.push_back(sinceDelivery.nsecsElapsed() / 1e6);
    }

    std::printf("delivery to the watch telling of it, %d deliveries: median %.0f ms, "
                "max %.0f ms\n",
                deliveries, median(toldMs), *std::max_element(toldMs.begin(), toldMs.end()));
    std::printf("delivery to the unseen count of the check that follows (the board): "
                "median %.0f ms, max %.0f ms (goal: under 5000 ms)\n",
                median(countedMs), *std::max_element(countedMs.begin(), countedMs.end()));
    std::printf("quiet %d s without a watch: %d wake-ups of the main thread, CPU %.3f %% of "
                "one core\n",
                windowSeconds, without.wakeUps, without.cpuShare);
    std::printf("quiet %d s idling in IDLE:  %d wake-ups of the main thread, CPU %.3f %% of "
                "one core; the server sent something %d times (goal: no more wake-ups than "
                "without, beyond those for the server's words)\n",
                windowSeconds, with.wakeUps, with.cpuShare, with.serverWords);
    std::printf("quiet %d s with %d watches in IDLE: %d wake-ups of the main thread, CPU %.3f %% "
                "of one core; the servers sent something %d times\n",
                windowSeconds, watchCount, withAll.wakeUps, withAll.cpuShare, withAll.serverWords);
    const bool overGoal = *std::max_element(countedMs.begin(), countedMs.end()) >= 5000;
    return overGoal ? 2 : 0;
}
