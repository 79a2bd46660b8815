#include "support/ChildProcess.h"
#include "support/FileFacts.h"
#include "support/Polling.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"
#include "support/VirtualDisplay.h"
#include "support/XWindows.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

const QString user = u"brindle-test"_s;

// The Debian package made from this build, installed into the machine with apt-get
// and removed again afterwards, and an ordinary user of its own to start it.
class PackageTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "installing the package into the machine needs root (CI runs as "
                            "root); as another user this test does not run";
        }
        ASSERT_TRUE(display.ready()) << "Xvfb or openbox did not start";
        const ToolRun packed =
            ToolRun::of(u"cpack"_s,
                        {u"--config"_s, QStringLiteral(BRINDLE_BUILD_FOLDER "/CPackConfig.cmake"),
                         u"-B"_s, packages.path()},
                        600s);
        ASSERT_TRUE(packed.succeeded()) << packed.output.toStdString();
        const QStringList built = QDir(packages.path()).entryList({u"brindle_*.deb"_s});
        ASSERT_EQ(built.size(), 1) << packed.output.toStdString();
        package = packages.file(built.front());

        const ToolRun installed = ToolRun::of(u"env"_s,
                                              {u"DEBIAN_FRONTEND=noninteractive"_s, u"apt-get"_s,
                                               u"install"_s, u"-y"_s, u"-q"_s, package},
                                              600s);
        installedPackage = true;
        ASSERT_TRUE(installed.succeeded()) << installed.output.toStdString();

        if (::getpwnam(qPrintable(user)) == nullptr) {
            const ToolRun added = ToolRun::of(u"useradd"_s, {u"--create-home"_s, u"--user-group"_s,
                                                             u"--shell"_s, u"/bin/sh"_s, user});
            createdUser = true;
            ASSERT_TRUE(added.succeeded()) << added.output.toStdString();
        }
        const passwd* account = ::getpwnam(qPrintable(user));
        ASSERT_NE(account, nullptr);
        uid = account->pw_uid;
        home = QString::fromLocal8Bit(account->pw_dir);
        // A user left from an earlier run starts afresh.
        QDir(home + u"/.config/brindle"_s).removeRecursively();
        QFile::remove(home + u"/lunaro.ini"_s);
    }

    void TearDown() override {
        program.stop();
        if (installedPackage) {
            ToolRun::of(u"apt-get"_s, {u"purge"_s, u"-y"_s, u"-q"_s, u"brindle"_s}, 300s);
        }
        if (createdUser) {
            ToolRun::of(u"userdel"_s, {u"--remove"_s, user});
        }
    }

    // The environment of the user's desktop session on the test's display.
    QProcessEnvironment userEnvironment() const {
        QProcessEnvironment environment = display.environment();
        for (const QString& name : {u"XDG_CONFIG_HOME"_s, u"XDG_RUNTIME_DIR"_s,
                                    u"DBUS_SESSION_BUS_ADDRESS"_s, u"TMPDIR"_s}) {
            environment.remove(name);
        }
        environment.insert(u"HOME"_s, home);
        environment.insert(u"USER"_s, user);
        environment.insert(u"LOGNAME"_s, user);
        return environment;
    }

    VirtualDisplay display{VirtualDisplay::Manager::Openbox};
    XWindows windows{display.environment()};
    TempFolder packages;
    QString package;
    ChildProcess program;
    bool installedPackage = false;
    bool createdUser = false;
    uint uid = 0;
    QString home;
};

TEST_F(PackageTest, AnOrdinaryUserStartsTheMenuCommandAndFindsTheSettingsInTheConfigFolder) {
    // Libraries found by dpkg-shlibdeps, and what the program loads by path.
    const ToolRun depends = ToolRun::of(u"dpkg-deb"_s, {u"--field"_s, package, u"Depends"_s});
    for (const QString& needed : {u"libqt6webenginewidgets6"_s, u"libfluidsynth3"_s,
                                  u"timgm6mb-soundfont"_s, u"fonts-ipafont-gothic"_s}) {
        EXPECT_TRUE(depends.output.contains(needed)) << depends.output.toStdString();
    }

    // The menu entry's command, started in the home folder as the desktop does,
    // on a session bus of the user's own as a desktop session has.
    ASSERT_TRUE(program.start(
        u"runuser"_s,
        {u"-u"_s, user, u"--"_s, u"dbus-run-session"_s, u"--"_s, u"/usr/bin/brindle"_s},
        userEnvironment(), home));
    const XWindows::Id window = windows.waitFor(u"Brindle Ver 1.0"_s, 60s);
    ASSERT_NE(window, 0u) << "the installed program showed no main window";
    // A first start: the server dialog asks for the POP3 server; "設定" stores it.
    const XWindows::Id server = windows.waitFor(u"サーバー設定"_s);
    ASSERT_NE(server, 0u);
    windows.activate(server);
    windows.pressKeys({u"alt+p"_s, u"1"_s, u"2"_s, u"7"_s, u"period"_s, u"0"_s, u"period"_s, u"0"_s,
                       u"period"_s, u"1"_s, u"Tab"_s, u"Tab"_s, u"space"_s});
    const QString folder = home + u"/.config/brindle"_s;
    EXPECT_TRUE(pollUntil([&] { return QFileInfo::exists(folder + u"/lunaro.ini"_s); }, 10s));
    windows.close(window);
    ASSERT_TRUE(program.waitForGroupEnd(20s)) << "the program did not end";

    EXPECT_EQ(permissionBits(folder), 0700);
    EXPECT_EQ(permissionBits(folder + u"/★MailData"_s), 0700);
    const QString settings = folder + u"/★MailData/ini.ini"_s;
    EXPECT_EQ(QFileInfo(settings).ownerId(), uid);
    EXPECT_TRUE(fileBytes(settings).contains("NUMBER3=0\r\n")) << fileBytes(settings).data();
    EXPECT_TRUE(fileBytes(folder + u"/lunaro.ini"_s).contains("POP3=127.0.0.1\r\n"));
    // Nothing of the program at the top of the home folder.
    const QStringList visible = QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_TRUE(visible.isEmpty()) << visible.join(u", "_s).toStdString();
}

} // namespace
} // namespace brindle::test
