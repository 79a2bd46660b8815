#include "support/AuthorizationServer.h"
#include "support/DovecotServer.h"
#include "support/KeyringDaemon.h"
#include "support/Polling.h"
#include "support/ProgramTest.h"
#include "support/TestCertificates.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <thread>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The program signs in to a real Dovecot whose tokens come from the test
// authorization server; a consenting "browser" (curl behind $BROWSER, which
// the desktop's URL opener starts) follows the sign-in page and its redirect,
// and the keyring is a real gnome-keyring-daemon.
class OAuthSignInTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(keyring.start());
        ASSERT_TRUE(authorization.start());
        ASSERT_TRUE(certificates.issue(u"server"_s, {u"IP:127.0.0.1"_s}));
        dovecot.enableTls(certificates.certificateFile(u"server"_s),
                          certificates.keyFile(u"server"_s));
        dovecot.enableOAuth(authorization.url(u"/introspect"_s), authorization.discoveryUrl());
        ASSERT_TRUE(dovecot.start());
        dovecot.deliver("Subject: hello\r\n\r\nbody\r\n");
        server = u"imaps://127.0.0.1:%1"_s.arg(dovecot.imapsPort());
        program.setAccount(AuthorizationServer::user, "");
        program.setPop3Server(server.toUtf8());
        browserFolder.write(u"browser"_s,
                            "#!/bin/sh\nexec curl -sSL --max-time 20 -o /dev/null \"$1\"\n");
        QFile::setPermissions(browserFolder.file(u"browser"_s),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    XWindows::Id start() {
        QProcessEnvironment environment = display.environment();
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, keyring.busAddress());
        environment.insert(u"SSL_CERT_FILE"_s, certificates.authorityFile());
        environment.insert(u"BROWSER"_s, browserFolder.file(u"browser"_s));
        if (!program.start(environment)) {
            return 0;
        }
        return windows.waitFor(u"Brindle Ver 1.0"_s);
    }

    QByteArray accountFile() const {
        QFile file(program.folder() + u"/★MailData/iniIdPass.ini"_s);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Every file below the folders the program may write that holds the text.
    QStringList filesHolding(const QByteArray& text) const {
        QStringList found;
        for (const QString& folder :
             {program.folder(), program.workingFolder(), display.environment().value(u"HOME"_s)}) {
            QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (files.hasNext()) {
                QFile file(files.next());
                if (file.open(QIODevice::ReadOnly) && file.readAll().contains(text)) {
                    found << file.fileName();
                }
            }
        }
        return found;
    }

    // Checks the mail from the menu; the window the check shows.
    XWindows::Id checkShows(XWindows::Id mainWindow, const QString& title) {
        const QList<XWindows::Id> before = windows.find(title);
        if (!windows.chooseMenuItem(mainWindow, MailCheck)) {
            return 0;
        }
        XWindows::Id shown = 0;
        pollUntil(
            [&] {
                for (const XWindows::Id window : windows.find(title)) {
                    if (!before.contains(window)) {
                        shown = window;
                    }
                }
                return shown != 0;
            },
            60s);
        return shown;
    }

    KeyringDaemon keyring;
    AuthorizationServer authorization;
    TempFolder certificateFolder;
    TestCertificates certificates{certificateFolder.path()};
    DovecotServer dovecot;
    TempFolder browserFolder;
    QString server;
};

TEST_F(OAuthSignInTest, SignsInChecksWithTheTokenRefreshesItAndTellsOnceWhenRevoked) {
    // Access tokens that are due for a refresh at once.
    authorization.setLifetime(30);
    const XWindows::Id mainWindow = start();
    ASSERT_NE(mainWindow, 0u);
    const XWindows::Id account = windows.waitFor(u"ID,PASS"_s);
    ASSERT_NE(account, 0u) << "no account dialog for an account without password";
    windows.moveTo(account, 20, 300);
    windows.activate(account);

    // The sign-in button, below OK and Cancel.
    const QRect dialog = windows.geometry(account);
    const QList<XWindows::Id> boxes = windows.find(u"Brindle"_s);
    windows.click(dialog.topLeft() + QPoint(dialog.width() / 2 + 30, dialog.height() - 15), 1);
    // The mail server named the authorization server: the user agrees to it.
    XWindows::Id trust = 0;
    ASSERT_TRUE(pollUntil(
        [&] {
            for (const XWindows::Id window : windows.find(u"Brindle"_s)) {
                trust = boxes.contains(window) ? trust : window;
            }
            return trust != 0;
        },
        60s));
    EXPECT_EQ(authorization.count(u"register"_s), 0) << "nothing is sent before the user agrees";
    saveScreenshot(windows.settledCapture(trust, XWindows::Framing::WithFrame),
                   u"sign-in-trust.png"_s);
    windows.activate(trust);
    windows.pressKeys({u"alt+y"_s});
    ASSERT_TRUE(pollUntil([&] { return accountFile().contains("AUTH=OAUTH2"); }, 60s))
        << accountFile().toStdString();
    EXPECT_TRUE(accountFile().contains("NAME2=\r\n")) << "no password is kept";
    const QImage signedIn = windows.settledCapture(account, XWindows::Framing::WithFrame);
    ASSERT_FALSE(signedIn.isNull());
    saveScreenshot(signedIn, u"account-signed-in.png"_s);

    const QJsonObject stored =
        QJsonDocument::fromJson(keyring.lookUp(server + u" alice"_s)).object();
    const QByteArray refreshToken = stored[u"refresh_token"_s].toString().toUtf8();
    ASSERT_FALSE(refreshToken.isEmpty());
    EXPECT_EQ(authorization.count(u"register"_s), 1);
    windows.close(account);

    // The check logs in with a token refreshed without the user and finds the message.
    const int refreshes = authorization.count(u"refresh"_s);
    const XWindows::Id board = checkShows(mainWindow, u"新着お知らせボード"_s);
    ASSERT_NE(board, 0u) << dovecot.log().toStdString();
    EXPECT_GE(authorization.count(u"refresh"_s), refreshes + 1);
    windows.close(board);
    const QByteArray accessToken = QJsonDocument::fromJson(keyring.lookUp(server + u" alice"_s))
                                       .object()[u"access_token"_s]
                                       .toString()
                                       .toUtf8();
    ASSERT_FALSE(accessToken.isEmpty());

    // A revoked sign-in is told by the next check, and nothing asks again by itself.
    authorization.revoke();
    const int beforeRevoked = authorization.count(u"refresh"_s);
    const XWindows::Id error = checkShows(mainWindow, u"エラー"_s);
    ASSERT_NE(error, 0u);
    windows.close(error);
    std::this_thread::sleep_for(10s);
    EXPECT_EQ(authorization.count(u"refresh"_s), beforeRevoked + 1);
    EXPECT_TRUE(windows.find(u"エラー"_s).isEmpty());
    EXPECT_TRUE(keyring.lookUp(server + u" alice"_s).isEmpty());

    // No token in any file the program may have written, nor in its output.
    windows.close(mainWindow);
    ASSERT_TRUE(endedCleanly());
    QProcess& process = program.process().process();
    const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
    for (const QByteArray& token : {accessToken, refreshToken}) {
        EXPECT_EQ(filesHolding(token), QStringList());
        EXPECT_FALSE(output.contains(token));
    }
}

} // namespace
} // namespace brindle::test
