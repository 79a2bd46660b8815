#include "support/DovecotServer.h"
#include "support/KeyringDaemon.h"
#include "support/Polling.h"
#include "support/ProgramTest.h"
#include "support/TestCertificates.h"

#include <QFile>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The program watches two real Dovecots at once: the first mailbox (today's
// files) on one, more mailboxes added through ファイル → メールボックス on
// the other, their passwords in a real gnome-keyring-daemon on the display's
// session bus, where a screen reader also reads the windows.
class MailboxesTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(display.startAccessibility());
        ASSERT_TRUE(keyring.start());
        ASSERT_TRUE(certificates.issue(u"server"_s, {u"IP:127.0.0.1"_s}));
        qputenv("SSL_CERT_FILE", QFile::encodeName(certificates.authorityFile()));
        other.enableTls(certificates.certificateFile(u"server"_s),
                        certificates.keyFile(u"server"_s));
        ASSERT_TRUE(first.start());
        ASSERT_TRUE(other.start());
        for (const QByteArray subject : {"one", "two"}) {
            first.deliver("Subject: " + subject + "\r\n\r\nbody\r\n");
        }
        for (const QByteArray subject : {"three", "four", "five"}) {
            other.deliver("Subject: " + subject + "\r\n\r\nbody\r\n");
        }
        program.setAccount(DovecotServer::user, DovecotServer::password);
        program.setPop3Server("pop3://127.0.0.1:" + QByteArray::number(first.pop3Port()));
    }
    void TearDown() override { qunsetenv("SSL_CERT_FILE"); }

    QString mailboxFile() const { return program.folder() + u"/★MailData/mailboxes.ini"_s; }
    QByteArray mailboxes() const {
        QFile file(mailboxFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Adds a mailbox in the list window as a user types it; true once it is in the file.
    bool add(XWindows::Id list, const QString& name, const QString& server,
             const QString& password) {
        windows.activate(list);
        windows.pressKeys({u"alt+a"_s});
        const XWindows::Id editor = windows.waitFor(u"メールボックスの追加"_s, 30s);
        if (editor == 0) {
            return false;
        }
        windows.activate(editor);
        for (const QString& field : {name, server, QString::fromUtf8(DovecotServer::user)}) {
            windows.typeText(field);
            windows.pressKeys({u"Tab"_s});
        }
        windows.pressKeys({u"Tab"_s}); // the sign-in stays "パスワード"
        windows.typeText(password);
        windows.pressKeys({u"Return"_s});
        return pollUntil([&] { return mailboxes().contains(server.toUtf8()); }, 30s);
    }

    KeyringDaemon keyring{display.sessionBus()};
    TempFolder certificateFolder;
    TestCertificates certificates{certificateFolder.path()};
    DovecotServer first;
    DovecotServer other;
};

TEST_F(MailboxesTest, TwoServersGiveOneBoardOfTheTotalAndOneBoxNamingTheMailboxThatFailed) {
    const XWindows::Id mainWindow = startProgram();
    ASSERT_NE(mainWindow, 0u);
    ASSERT_TRUE(windows.chooseMenuItem(mainWindow, Mailboxes));
    const XWindows::Id list = windows.waitFor(u"メールボックス"_s, 30s);
    ASSERT_NE(list, 0u);
    EXPECT_FALSE(QFile::exists(mailboxFile())) << "nothing is written before a mailbox is added";

    const QString imaps = u"imaps://127.0.0.1:%1"_s.arg(other.imapsPort());
    const QString pop3s = u"pop3s://127.0.0.1:%1"_s.arg(other.pop3sPort());
    const QString spare = u"imap://127.0.0.1:%1"_s.arg(other.imapPort());
    ASSERT_TRUE(add(list, u"second"_s, imaps, QString::fromUtf8(DovecotServer::password)));
    ASSERT_TRUE(add(list, u"broken"_s, pop3s, u"rabbit-hole-42"_s));
    ASSERT_TRUE(add(list, u"spare"_s, spare, u"spare-password"_s));
    EXPECT_EQ(keyring.lookUp(u"password %1 alice"_s.arg(imaps)), DovecotServer::password);
    EXPECT_EQ(keyring.lookUp(u"password %1 alice"_s.arg(spare)), "spare-password");
    EXPECT_EQ(QFile::permissions(mailboxFile()),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

    // The mailbox just added is the selected one; removing it takes its password along.
    windows.activate(list);
    windows.pressKeys({u"alt+r"_s});
    ASSERT_TRUE(pollUntil([&] { return !mailboxes().contains(spare.toUtf8()); }, 30s));
    EXPECT_EQ(keyring.lookUp(u"password %1 alice"_s.arg(spare)), "");
    saveScreenshot(windows.settledCapture(list, XWindows::Framing::WithFrame), u"mailboxes.png"_s);
    windows.close(list);

    ASSERT_TRUE(windows.chooseMenuItem(mainWindow, MailCheck));
    const XWindows::Id error = windows.waitFor(u"エラー"_s, 120s);
    ASSERT_NE(error, 0u);
    EXPECT_TRUE(accessibleControls(u"新着お知らせボード"_s)
                    .contains(QStringList{u"field"_s, u"新着メールの数"_s, u"5"_s}));
    QStringList flat;
    for (const QStringList& control : accessibleControls(u"エラー"_s)) {
        flat << control.join(u' ');
    }
    const QString errorText = flat.join(u'\n');
    EXPECT_TRUE(errorText.contains(u"broken: "_s)) << errorText.toStdString();
    EXPECT_FALSE(errorText.contains(u"second"_s)) << errorText.toStdString();
    EXPECT_FALSE(errorText.contains(u"rabbit-hole-42"_s));
    windows.close(error);

    windows.close(mainWindow);
    ASSERT_TRUE(endedCleanly());
}

} // namespace
} // namespace brindle::test
