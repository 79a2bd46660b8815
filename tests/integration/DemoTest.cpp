#include "support/ProgramTest.h"

#include <QDir>
#include <QFileInfo>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// tools/demo.sh started on the copied program, with temporary files of its own.
class DemoTest : public ProgramTest {
protected:
    DemoTest() : ProgramTest(ProgramCopy::Settings::None) {}

    TempFolder temporary;
    ChildProcess demo;
};

TEST_F(DemoTest, ShowsTheNoticeBoardAndNewMailSceneWithoutTypingAndLeavesNothingBehind) {
    // A root run hands the demo's mailbox to the user dovecot, who must reach it.
    QFile::setPermissions(temporary.path(),
                          QFile::permissions(temporary.path()) | QFile::ExeGroup | QFile::ExeOther);
    QProcessEnvironment environment = display.environment();
    environment.insert(u"TMPDIR"_s, temporary.path());
    const QString home = environment.value(u"HOME"_s);
    ASSERT_TRUE(demo.start(QStringLiteral(BRINDLE_SOURCE_FOLDER "/tools/demo.sh"),
                           {program.folder()}, environment, home));
    const XWindows::Id window = windows.waitFor(u"Brindle Ver 1.0"_s, 60s);
    ASSERT_NE(window, 0u) << "the demo showed no main window";
    const QImage normal = waitForScene(window, [](const QImage&) { return true; });
    ASSERT_FALSE(normal.isNull()) << "the normal scene never showed";

    // The first timed check comes after one minute and finds the three messages.
    EXPECT_NE(windows.waitFor(u"新着お知らせボード"_s, 120s), 0u) << "no notice board";
    const QImage newMail = waitForScene(window, [&](const QImage& scene) {
        return differingShare(scene, sceneArea(normal)) > 0.5;
    });
    EXPECT_FALSE(newMail.isNull()) << "the new-mail scene never showed";

    // Closing the program ends the demo: Dovecot stops and the demo's files go.
    windows.close(window);
    EXPECT_TRUE(demo.waitForGroupEnd(30s)) << "processes of the demo are left";
    EXPECT_EQ(demo.process().exitCode(), 0);
    const QStringList left = QDir(temporary.path()).entryList({u"brindle-demo.*"_s});
    EXPECT_TRUE(left.isEmpty()) << left.join(u", "_s).toStdString();
    // The user's own settings were not touched.
    EXPECT_FALSE(QFileInfo::exists(home + u"/lunaro.ini"_s));
    EXPECT_FALSE(QFileInfo::exists(home + u"/.config/brindle"_s));
}

} // namespace
} // namespace brindle::test
