#include "ProgramTest.h"

#include "Polling.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <algorithm>
#include <utility>

namespace brindle::test {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A scene still blank (a page not yet drawn, with only the strip's edge below
// it) is nearly all one colour; a drawn page is not.
bool nearlyUniform(const QImage& picture) {
    QHash<QRgb, qsizetype> counts;
    qsizetype most = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            most = std::max(most, ++counts[picture.pixel(x, y)]);
        }
    }
    return most * 10 > qsizetype(picture.width()) * picture.height() * 9;
}

} // namespace

ProgramTest::ProgramTest(ProgramCopy::Settings settings, VirtualDisplay::Manager manager)
    : display(manager), program(settings) {}

QList<QStringList> ProgramTest::accessibleControls(const QString& title) const {
    QList<QStringList> controls;
    for (const QString& line :
         display.readAccessible(u"accessible_tree.py"_s, {u"controls"_s, title})) {
        controls << line.split(u'\t');
    }
    return controls;
}

void ProgramTest::SetUp() {
    ASSERT_TRUE(display.ready()) << "Xvfb or openbox did not start";
    ASSERT_TRUE(program.ready()) << "the program could not be copied";
}

XWindows::Id ProgramTest::startProgram(const QString& language) {
    QProcessEnvironment environment = display.environment();
    if (!language.isEmpty()) {
        environment.insert(u"LANG"_s, language);
    }
    if (!program.start(environment)) {
        return 0;
    }
    return windows.waitFor(u"Brindle Ver 1.0"_s);
}

::testing::AssertionResult ProgramTest::endedCleanly() {
    if (!program.process().waitForGroupEnd(20s)) {
        return ::testing::AssertionFailure() << "processes left after 20 s";
    }
    const QProcess& process = program.process().process();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return ::testing::AssertionFailure()
               << "exit status " << process.exitStatus() << ", code " << process.exitCode();
    }
    return ::testing::AssertionSuccess();
}

QImage ProgramTest::waitForScene(XWindows::Id window,
                                 const std::function<bool(const QImage&)>& condition) {
    QImage previousScene;
    QImage capture;
    const bool shown = pollUntil(
        [&] {
            capture = windows.capture(window);
            const QImage scene = sceneArea(capture);
            // A page still loading changes most of the picture between two captures;
            // small changes (a blinking notice) do not count.
            const bool loaded = differingShare(scene, previousScene) < 0.2;
            previousScene = scene;
            return !scene.isNull() && !nearlyUniform(scene) && loaded && condition(scene);
        },
        60s);
    if (!shown) {
        // The last picture, to see what the scene showed instead.
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const QString folder = QStringLiteral(BRINDLE_DEFAULT_SCREENSHOT_DIR);
        QDir().mkpath(folder);
        capture.save(u"%1/%2.%3-scene.png"_s.arg(folder, QString::fromUtf8(test->test_suite_name()),
                                                 QString::fromUtf8(test->name())));
    }
    return shown ? capture : QImage();
}

QImage ProgramTest::clientArea(const QImage& capture) {
    return capture.copy(0, capture.height() - ClientHeight, ClientWidth, ClientHeight);
}

QImage ProgramTest::sceneArea(const QImage& capture) {
    return clientArea(capture).copy(0, 0, ClientWidth, 121);
}

QImage ProgramTest::optionStrip(const QImage& capture) {
    return clientArea(capture).copy(0, 121, ClientWidth, 23);
}

double ProgramTest::differingShare(const QImage& a, const QImage& b) {
    if (a.isNull() || a.size() != b.size()) {
        return 1;
    }
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            differing += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        }
    }
    return static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
}

void ProgramTest::saveScreenshot(const QImage& picture, const QString& name) {
    QString folder = qEnvironmentVariable("BRINDLE_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        folder = QStringLiteral(BRINDLE_DEFAULT_SCREENSHOT_DIR);
    }
    QDir().mkpath(folder);
    EXPECT_TRUE(picture.save(folder + QLatin1Char('/') + name, "PNG")) << name.toStdString();
}

} // namespace brindle::test
