#include "app/NoticeBoard.h"
#include "mail/DetachedProgramLauncher.h"
#include "mail/ServerFieldMailClient.h"
#include "settings/AccountDialog.h"
#include "settings/SettingsWindow.h"
#include "settings/core/MailboxList.h"
#include "signin/KeyringMailboxPasswords.h"
#include "support/DovecotServer.h"
#include "support/MainWindowFixture.h"
#include "support/TestCertificates.h"
#include "ui/QtEventPump.h"
#include "ui/SteadyClock.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <csignal>

namespace brindle::test {
namespace {

QByteArray message(int number) {
    return "From: sender@example.jp\r\nTo: alice@example.jp\r\nSubject: note " +
           QByteArray::number(number) + "\r\n\r\nline " + QByteArray::number(number) + "\r\n";
}

// Records like its parent and lets a test act the moment a window is made topmost.
class HookedStacking : public FakeStacking {
public:
    void setTopmost(QWidget& window, bool topmost) override {
        FakeStacking::setTopmost(window, topmost);
        if (topmost && onTopmost) {
            onTopmost(window);
        }
    }
    std::function<void(QWidget&)> onTopmost;
};

// A main window whose check talks to a real Dovecot through the real POP3
// and IMAP clients, starts programs for real and waits on the real clock and event
// queue; the other desktop services are fakes that record what they are asked.
class CheckMailDovecotTest : public MainWindowFixture {
protected:
    static constexpr char savedAccount[] = "[EXEINI]\nNAME=alice\nNAME2=wonderland\n";

    void deliver(int count) {
        for (int number = 1; number <= count; ++number) {
            server.deliver(message(number));
        }
    }
    QString plainServer() const {
        return QStringLiteral("pop3://127.0.0.1:%1").arg(server.pop3Port());
    }
    // Without a scheme: TLS through STLS.
    QString bareServer() const { return QStringLiteral("127.0.0.1:%1").arg(server.pop3Port()); }
    static constexpr char wrongPasswordAccount[] = "[EXEINI]\nNAME=alice\nNAME2=rabbit-hole-42\n";
    // One "エラー" box with Dovecot's reason for refusing wrongPasswordAccount,
    // never the password itself, and no board.
    void expectRefusedWithDovecotsReason() {
        ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
        const FakeMessageBoxes::Shown& box = fakes.messageBoxes->shown.front();
        EXPECT_EQ(box.caption, QStringLiteral("エラー"));
        EXPECT_TRUE(box.text.contains(QStringLiteral("Authentication failed")))
            << box.text.toStdString();
        EXPECT_FALSE(box.text.contains(QStringLiteral("rabbit-hole-42")));
        EXPECT_FALSE(mainWindow->noticeBoard.exists());
    }

    // Starts the program with this server in the mail server file and, when
    // given, this account file.
    MainWindow& startProgram(const QString& pop3Server, int apopFlag = 0,
                             const QByteArray& accountLines = savedAccount) {
        writeServerFile("POP3=" + pop3Server.toUtf8() + "\nAPOP=" + QByteArray::number(apopFlag) +
                        "\n");
        if (!accountLines.isEmpty()) {
            writeAccountIni(accountLines);
        }
        Platform platform = makeFakePlatform(programFolder.path(), fakes);
        platform.mailClient = std::make_unique<ServerFieldMailClient>();
        platform.launcher = std::make_unique<DetachedProgramLauncher>();
        platform.clock = std::make_unique<SteadyClock>();
        platform.events = std::make_unique<QtEventPump>();
        auto hooked = std::make_unique<HookedStacking>();
        stacking = hooked.get();
        fakes.stacking = hooked.get();
        platform.stacking = std::move(hooked);
        // The fakes these replaced are gone with their slots.
        fakes.mailClient = nullptr;
        fakes.launcher = nullptr;
        fakes.clock = nullptr;
        fakes.events = nullptr;
        mainWindow = std::make_unique<MainWindow>(std::move(platform));
        sceneAddressesAtStart = fakes.scene->pages.size();
        tuneCallsAtStart = fakes.tunePlayer->calls.size();
        return *mainWindow;
    }

    bool sceneChanged() const { return fakes.scene->pages.size() > sceneAddressesAtStart; }
    // The new-mail page was shown and its tune opened and played.
    bool newMailSceneStarted() const {
        const QStringList calls = fakes.tunePlayer->calls.mid(tuneCallsAtStart);
        const qsizetype opened =
            calls.indexOf("open " + programFolder.file(QStringLiteral("Sound/Kouka2.mid")));
        return sceneChanged() &&
               fakes.scene->pages.last() ==
                   programFolder.file(QStringLiteral("画像データ/Kakasi.htm")) &&
               opened >= 0 && calls.indexOf(QStringLiteral("play"), opened) > opened;
    }
    bool boardMadeTopmost() {
        const QWidget* board = &mainWindow->noticeBoard.get();
        return std::any_of(
            stacking->calls.begin(), stacking->calls.end(),
            [board](const auto& call) { return call.first == board && call.second; });
    }
    void expectBoardShows(const QString& count) {
        ASSERT_TRUE(mainWindow->noticeBoard.exists());
        EXPECT_TRUE(mainWindow->noticeBoard->isVisible());
        EXPECT_EQ(mainWindow->noticeBoard->noticeText->text(),
                  QStringLiteral("新着メールが有ります"));
        EXPECT_EQ(mainWindow->noticeBoard->countText->text(), count);
    }

    DovecotServer server;
    HookedStacking* stacking = nullptr;
    qsizetype sceneAddressesAtStart = 0;
    qsizetype tuneCallsAtStart = 0;
};

TEST_F(CheckMailDovecotTest, EmptyMailboxLogsInOnceAndShowsNothing) {
    ASSERT_TRUE(server.start());
    startProgram(plainServer()).mailCheck.checkMail();

    EXPECT_TRUE(server.waitForLoginCount(1)) << server.log().toStdString();
    EXPECT_TRUE(fakes.messageBoxes->shown.empty());
    EXPECT_FALSE(mainWindow->noticeBoard.exists());
    EXPECT_FALSE(sceneChanged());
    EXPECT_FALSE(fakes.tunePlayer->calls.mid(tuneCallsAtStart).contains("play"));
}

TEST_F(CheckMailDovecotTest, ThreeMessagesOpenTheTopmostBoardThatStaysAndStartTheScene) {
    deliver(3);
    ASSERT_TRUE(server.start());
    startProgram(plainServer()).mailCheck.checkMail();

    expectBoardShows(QStringLiteral("3"));
    EXPECT_TRUE(boardMadeTopmost());
    EXPECT_TRUE(newMailSceneStarted());
    EXPECT_TRUE(fakes.messageBoxes->shown.empty());
    // Longer than the one-second close would take: the board is still there.
    QTest::qWait(1200);
    expectBoardShows(QStringLiteral("3"));
    EXPECT_TRUE(server.waitForLoginCount(1));
}

TEST_F(CheckMailDovecotTest, WrongPasswordShowsDovecotsReasonButNotThePassword) {
    deliver(1);
    ASSERT_TRUE(server.start());
    startProgram(plainServer(), 0, wrongPasswordAccount).mailCheck.checkMail();

    expectRefusedWithDovecotsReason();
    EXPECT_FALSE(newMailSceneStarted());
    EXPECT_EQ(server.loginCount(), 0);
}

TEST_F(CheckMailDovecotTest, ImapServerWithoutStartTlsIsRefusedBeforeTheLogin) {
    deliver(1);
    ASSERT_TRUE(server.start());
    startProgram(QStringLiteral("imap://127.0.0.1:%1").arg(server.imapPort()))
        .mailCheck.checkMail();

    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    EXPECT_TRUE(fakes.messageBoxes->shown.front().text.contains(QStringLiteral("STARTTLS")))
        << fakes.messageBoxes->shown.front().text.toStdString();
    EXPECT_FALSE(mainWindow->noticeBoard.exists());
    EXPECT_EQ(server.loginCount(), 0);
}

TEST_F(CheckMailDovecotTest, ApopFlagLogsInWithApop) {
    deliver(1);
    ASSERT_TRUE(server.start());
    startProgram(plainServer(), 1).mailCheck.checkMail();

    expectBoardShows(QStringLiteral("1"));
    ASSERT_TRUE(server.waitForLoginCount(1));
    EXPECT_TRUE(server.log().contains(QStringLiteral("method=APOP"))) << server.log().toStdString();
}

TEST_F(CheckMailDovecotTest, OneSecondBoardIsShownDuringTheRealWaitAndGoneAfter) {
    deliver(3);
    ASSERT_TRUE(server.start());
    MainWindow& main = startProgram(plainServer());
    main.settingsWindow->autoCloseBoardBox->setChecked(true);
    bool sampled = false;
    bool boardShown = false;
    bool sceneAtSample = true;
    // Sampled 300 ms after the board is made topmost, which is inside the wait.
    stacking->onTopmost = [&](QWidget& window) {
        if (!main.noticeBoard.exists() || &window != &main.noticeBoard.get()) {
            return;
        }
        QTimer::singleShot(300, &main, [&] {
            sampled = true;
            boardShown = main.noticeBoard.exists() && main.noticeBoard->isVisible() &&
                         main.noticeBoard->countText->text() == QStringLiteral("3");
            sceneAtSample = newMailSceneStarted();
        });
    };
    QElapsedTimer took;
    took.start();
    main.mailCheck.checkMail();
    const qint64 elapsed = took.elapsed();

    EXPECT_TRUE(sampled);
    EXPECT_TRUE(boardShown);
    EXPECT_FALSE(sceneAtSample);
    EXPECT_FALSE(main.noticeBoard.exists());
    EXPECT_TRUE(newMailSceneStarted());
    EXPECT_GT(elapsed, 1000);
}

// The mail program lies in a folder whose name holds a blank.
class CheckMailLaunchTest : public CheckMailDovecotTest {
protected:
    void SetUp() override {
        programFolder.write(QStringLiteral("mail program/record.sh"),
                            "#!/bin/sh\necho started > \"${0%/*}/marker\"\n");
        ASSERT_TRUE(QFile::setPermissions(script(), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ExeOwner | QFile::ReadGroup |
                                                        QFile::ExeGroup));
        deliver(2);
        ASSERT_TRUE(server.start());
    }
    QString script() const { return programFolder.file(QStringLiteral("mail program/record.sh")); }
    bool markerWritten() const {
        return programFolder.exists(QStringLiteral("mail program/marker"));
    }
};

TEST_F(CheckMailLaunchTest, NewMailStartsTheMailProgramInsteadOfTheBoard) {
    MainWindow& main = startProgram(plainServer());
    main.launchMailerBox->setChecked(true);
    main.mailer->setPath("  " + script() + "  ");
    main.mailCheck.checkMail();

    EXPECT_TRUE(QTest::qWaitFor([this] { return markerWritten(); }, 10000));
    EXPECT_FALSE(main.noticeBoard.exists());
    EXPECT_FALSE(newMailSceneStarted());
}

TEST_F(CheckMailLaunchTest, MissingMailProgramLetsTheCheckEnd) {
    MainWindow& main = startProgram(plainServer());
    main.launchMailerBox->setChecked(true);
    main.mailer->setPath(programFolder.file(QStringLiteral("mail program/no such mailer")));
    main.mailCheck.checkMail();

    EXPECT_FALSE(main.mailCheck.isRunning());
    EXPECT_FALSE(main.noticeBoard.exists());
    EXPECT_TRUE(server.waitForLoginCount(1));
    // The next check runs as usual.
    main.mailer->setPath(script());
    main.mailCheck.checkMail();
    EXPECT_TRUE(QTest::qWaitFor([this] { return markerWritten(); }, 10000));
}

// Dovecot with a certificate from an authority trusted through SSL_CERT_FILE.
class CheckMailTlsTest : public CheckMailDovecotTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(certificates_.isValid());
        ASSERT_TRUE(certificates_.issue("server", certificateNames()));
        previousTrust_ = qgetenv("SSL_CERT_FILE");
        qputenv("SSL_CERT_FILE", QFile::encodeName(certificates_.authorityFile()));
        server.enableTls(certificates_.certificateFile("server"), certificates_.keyFile("server"));
        deliver(2);
        ASSERT_TRUE(server.start());
    }
    void TearDown() override {
        if (previousTrust_.isNull()) {
            qunsetenv("SSL_CERT_FILE");
        } else {
            qputenv("SSL_CERT_FILE", previousTrust_);
        }
    }
    virtual QStringList certificateNames() const { return {"DNS:localhost", "IP:127.0.0.1"}; }
    bool loggedInOverTls() const {
        return server.waitForLoginCount(1) &&
               server.log().section("Login: user=<", 1).section('\n', 0, 0).contains("TLS");
    }

    // Another Dovecot with the same certificate, holding count messages.
    bool startAnotherServer(DovecotServer& other, int count) {
        other.enableTls(certificates_.certificateFile("server"), certificates_.keyFile("server"));
        for (int number = 1; number <= count; ++number) {
            other.deliver(message(number));
        }
        return other.start();
    }

private:
    TempFolder certificateFolder_;
    TestCertificates certificates_{certificateFolder_.path()};
    QByteArray previousTrust_;
};

// Four more mailboxes beside the first (POP3, 2 messages): IMAP on a second
// Dovecot with 3, the same through a desktop account, one whose password the
// server refuses and one whose password the keyring lacks.
TEST_F(CheckMailTlsTest, SeveralMailboxesGiveOneBoardOfTheirTotalAndOneBoxNamingEachThatFailed) {
    DovecotServer other;
    ASSERT_TRUE(startAnotherServer(other, 3));
    const Mailbox second{QStringLiteral("二番"),
                         QStringLiteral("imaps://localhost:%1").arg(other.imapsPort()),
                         QStringLiteral("alice")};
    const Mailbox refused{QStringLiteral("拒否"),
                          QStringLiteral("pop3s://localhost:%1").arg(other.pop3sPort()),
                          QStringLiteral("alice")};
    const Mailbox unknown{QStringLiteral("鍵なし"), second.server, QStringLiteral("bob")};
    const Mailbox desktop{
        QStringLiteral("机上"), QStringLiteral("imap://localhost:%1").arg(other.imapPort()),
        QStringLiteral("alice"), Mailbox::SignIn::DesktopAccount, QStringLiteral("account_1")};
    const ProgramFiles files(programFolder.path(), settings);
    ASSERT_TRUE(MailboxList(files.mailboxSettings()).write({second, refused, unknown, desktop}));
    startProgram(plainServer());
    fakes.desktopAccounts->secret = DesktopAccounts::Secret{DovecotServer::password};
    fakes.secrets->secrets[KeyringMailboxPasswords::keyFor(second)] = DovecotServer::password;
    fakes.secrets->secrets[KeyringMailboxPasswords::keyFor(refused)] = "rabbit-hole-42";
    mainWindow->mailCheck.checkMail();

    expectBoardShows(QStringLiteral("8"));
    EXPECT_EQ(fakes.desktopAccounts->asked, QStringList{"account_1 " + desktop.server});
    EXPECT_TRUE(newMailSceneStarted());
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    const FakeMessageBoxes::Shown& box = fakes.messageBoxes->shown.front();
    EXPECT_EQ(box.caption, QStringLiteral("エラー"));
    const QStringList failures = box.text.split(QStringLiteral("\n\n"));
    ASSERT_EQ(failures.size(), 2) << box.text.toStdString();
    EXPECT_TRUE(failures[0].startsWith(QStringLiteral("拒否: ")));
    EXPECT_TRUE(failures[0].contains(QStringLiteral("Authentication failed")));
    EXPECT_TRUE(failures[1].startsWith(QStringLiteral("鍵なし: ")));
    EXPECT_FALSE(box.text.contains(QStringLiteral("rabbit-hole-42")));

    mainWindow->tray.moveToTray();
    const QStringList lines = fakes.tray->texts.last().split(u'\n');
    // The time, the count of them all, a line per mailbox.
    ASSERT_EQ(lines.size(), 7) << fakes.tray->texts.last().toStdString();
    EXPECT_EQ(lines.mid(1, 3), (QStringList{QStringLiteral("新着メール: 8 通"),
                                            QStringLiteral("alice: 2通"), QStringLiteral("二番: 3通")}));
    EXPECT_TRUE(lines[4].startsWith(QStringLiteral("拒否: エラー（")));
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("鍵なし: エラー（")));
    EXPECT_EQ(lines[6], QStringLiteral("机上: 3通"));

    // From the tray, only what no check of its mailbox had seen is told,
    // newest first across the mailboxes; read elsewhere, its notice goes.
    ASSERT_TRUE(fakes.notifications->calls.isEmpty());
    server.deliver("From: first@example.jp\r\nDate: Thu, 10 Dec 2026 09:00:00 +0900\r\n"
                   "Subject: older\r\n\r\nbody\r\n");
    other.deliver("From: other@example.jp\r\nDate: Thu, 10 Dec 2026 01:30:00 +0000\r\n"
                  "Subject: newer\r\n\r\nbody\r\n");
    mainWindow->mailCheck.checkMail();
    EXPECT_EQ(fakes.notifications->calls,
              QStringList{QStringLiteral("show 0 新着メールが有ります: other@example.jp — newer|"
                                         "other@example.jp — newer|first@example.jp — older")});
    other.markAllSeen();
    mainWindow->mailCheck.checkMail();
    EXPECT_EQ(fakes.notifications->calls.mid(1), QStringList{QStringLiteral("close 1")});
}

TEST_F(CheckMailTlsTest, BareAddressIsUpgradedWithStlsForAnAccountConfirmedInTheDialog) {
    MainWindow& main = startProgram(bareServer(), 0, {});
    main.accountDialog->idEdit->setText(QString::fromUtf8(DovecotServer::user));
    main.accountDialog->passwordEdit->setText(QString::fromUtf8(DovecotServer::password));
    main.accountDialog->confirm();
    main.mailCheck.checkMail();

    expectBoardShows(QStringLiteral("2"));
    EXPECT_TRUE(loggedInOverTls()) << server.log().toStdString();
}

TEST_F(CheckMailTlsTest, ImapsAndImapWithStartTlsCountTheUnseenAndChangeNoFlag) {
    server.markAllSeen();
    deliver(3);
    const QStringList seenBefore = server.seenMessages();
    ASSERT_EQ(seenBefore.size(), 2);
    int announcements = 0;
    for (const QString& field : {QStringLiteral("imaps://localhost:%1").arg(server.imapsPort()),
                                 QStringLiteral("imap://localhost:%1").arg(server.imapPort())}) {
        MainWindow& main = startProgram(field, 1); // APOP means nothing for IMAP
        QObject::connect(&main.mailCheck, &MailCheck::newMail, [&] { ++announcements; });
        main.mailCheck.checkMail();

        expectBoardShows(QStringLiteral("3"));
        EXPECT_TRUE(newMailSceneStarted());
        EXPECT_TRUE(fakes.messageBoxes->shown.empty());
        EXPECT_EQ(server.seenMessages(), seenBefore);
    }
    EXPECT_EQ(announcements, 2);
    EXPECT_TRUE(server.waitForLoginCount(2));
    // imap-login: Info: Login: user=<alice>, method=PLAIN, rip=..., lip=..., mpid=..., TLS, ...
    const QStringList logins =
        server.log().split(u'\n').filter(QStringLiteral("imap-login: Info: Login: user=<alice>"));
    EXPECT_EQ(logins.filter(QStringLiteral("method=PLAIN")).filter(QStringLiteral(", TLS")).size(),
              2)
        << server.log().toStdString();
}

TEST_F(CheckMailTlsTest, MailMarkedReadOnTheServerLeavesTheNextImapCheckSilent) {
    MainWindow& main = startProgram(QStringLiteral("imaps://localhost:%1").arg(server.imapsPort()));
    int announcements = 0;
    QObject::connect(&main.mailCheck, &MailCheck::newMail, [&] { ++announcements; });
    main.mailCheck.checkMail();
    ASSERT_EQ(announcements, 1);

    server.markAllSeen();
    main.mailCheck.checkMail();

    EXPECT_EQ(announcements, 1);
    EXPECT_TRUE(fakes.messageBoxes->shown.empty());
    EXPECT_TRUE(server.waitForLoginCount(2));
}

TEST_F(CheckMailTlsTest, MailDeliveredWhileIdlingShowsTheBoardLongBeforeTheInterval) {
    server.markAllSeen();
    MainWindow& main = startProgram(QStringLiteral("imaps://localhost:%1").arg(server.imapsPort()));
    main.timedChecking.setInterval(30); // no check for half an hour
    // The watch's login, then a moment for EXAMINE and IDLE.
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.loginCount() == 1; }, 5000))
        << server.log().toStdString();
    QTest::qWait(1000);

    server.deliver(message(3));

    EXPECT_TRUE(QTest::qWaitFor([&] { return main.noticeBoard.exists(); }, 5000));
    expectBoardShows(QStringLiteral("1"));
    EXPECT_TRUE(newMailSceneStarted());
    EXPECT_TRUE(fakes.messageBoxes->shown.empty());
}

// Asleep, the push connection went silent without closing (its server
// process stopped here); after waking, mail reaches the board through a new
// one within seconds, not at the renewal.
TEST_F(CheckMailTlsTest, AfterWakingMailReachesTheBoardThroughANewPushConnection) {
    server.markAllSeen();
    MainWindow& main = startProgram(QStringLiteral("imaps://localhost:%1").arg(server.imapsPort()));
    main.timedChecking.setInterval(30);
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.loginCount() == 1; }, 5000))
        << server.log().toStdString();
    QTest::qWait(1000);
    const QList<qint64> silent = server.imapSessionProcesses();
    ASSERT_EQ(silent.size(), 1);
    ::kill(pid_t(silent[0]), SIGSTOP);
    const auto resume = qScopeGuard([&] { ::kill(pid_t(silent[0]), SIGCONT); });

    emit fakes.wakeSignals->woke(60);
    ASSERT_TRUE(QTest::qWaitFor([this] { return server.loginCount() == 2; }, 5000));
    QTest::qWait(1000);
    server.deliver(message(3));

    EXPECT_TRUE(QTest::qWaitFor([&] { return main.noticeBoard.exists(); }, 5000));
    expectBoardShows(QStringLiteral("1"));
}

TEST_F(CheckMailTlsTest, WrongImapPasswordShowsDovecotsReasonButNotThePassword) {
    startProgram(QStringLiteral("imaps://localhost:%1").arg(server.imapsPort()), 0,
                 wrongPasswordAccount)
        .mailCheck.checkMail();

    expectRefusedWithDovecotsReason();
    EXPECT_EQ(server.loginCount(), 0);
}

TEST_F(CheckMailTlsTest, Pop3sAddressFindsTheMessages) {
    startProgram(QStringLiteral("pop3s://localhost:%1").arg(server.pop3sPort()))
        .mailCheck.checkMail();

    expectBoardShows(QStringLiteral("2"));
    EXPECT_TRUE(newMailSceneStarted());
    EXPECT_TRUE(loggedInOverTls()) << server.log().toStdString();
}

// The certificate names another host than the one the check connects to.
class CheckMailWrongHostTest : public CheckMailTlsTest {
protected:
    QStringList certificateNames() const override { return {"DNS:mail.example.test"}; }
};

TEST_F(CheckMailWrongHostTest, EveryWayIntoTlsStopsWithTheCertificateError) {
    for (const QString& field : {QStringLiteral("pop3s://localhost:%1").arg(server.pop3sPort()),
                                 QStringLiteral("localhost:%1").arg(server.pop3Port()),
                                 QStringLiteral("imaps://localhost:%1").arg(server.imapsPort()),
                                 QStringLiteral("imap://localhost:%1").arg(server.imapPort())}) {
        startProgram(field).mailCheck.checkMail();

        const auto& shown = fakes.messageBoxes->shown;
        EXPECT_EQ(shown.size(), 1U) << field.toStdString();
        const QString text = shown.empty() ? QString() : shown.front().text;
        EXPECT_TRUE(text.contains(QStringLiteral("証明書"))) << text.toStdString();
        EXPECT_FALSE(mainWindow->noticeBoard.exists());
    }
    EXPECT_EQ(server.loginCount(), 0);
}

} // namespace
} // namespace brindle::test
