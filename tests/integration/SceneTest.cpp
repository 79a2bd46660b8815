#include "support/Polling.h"
#include "support/ProgramTest.h"

#include <utility>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

using SceneTest = ProgramTest;

TEST_F(SceneTest, EventCheckShowsTheNewMailSceneUntilRestored) {
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);
    // The reference is the scene once it stands still between two looks: on a
    // busy machine the first pictures may still lack the page's image.
    QImage lastScene;
    const QImage normal = waitForScene(
        window, [&](const QImage& scene) { return std::exchange(lastScene, scene) == scene; });
    ASSERT_FALSE(normal.isNull()) << "the normal scene never showed";
    saveScreenshot(windows.settledCapture(window, XWindows::Framing::WithFrame),
                   u"scene-normal.png"_s);
    const QImage normalScene = sceneArea(normal);

    ASSERT_TRUE(windows.chooseMenuItem(window, NewMailEvent));
    // The closed menu's picture stays on the screen until the window has drawn
    // itself again (the tune's start holds it up), its menu bar highlighted.
    const auto menuBar = [](const QImage& capture) {
        return capture.copy(0, 0, ClientWidth, capture.height() - ClientHeight);
    };
    QImage newMail;
    ASSERT_TRUE(pollUntil(
        [&] {
            newMail = waitForScene(window, [&](const QImage& scene) {
                return differingShare(scene, normalScene) > 0.5;
            });
            return newMail.isNull() || menuBar(newMail) == menuBar(normal);
        },
        60s));
    ASSERT_FALSE(newMail.isNull()) << "the new-mail scene never replaced the normal one";
    saveScreenshot(windows.capture(window, XWindows::Framing::WithFrame), u"scene-new-mail.png"_s);
    // Only the scene changed: the option strip below it looks as before.
    EXPECT_EQ(differingShare(optionStrip(newMail), optionStrip(normal)), 0.0);

    ASSERT_TRUE(windows.chooseMenuItem(window, Restore));
    const QImage restored = waitForScene(
        window, [&](const QImage& scene) { return differingShare(scene, normalScene) < 0.01; });
    EXPECT_FALSE(restored.isNull()) << "the normal scene did not come back";
}

} // namespace
} // namespace brindle::test
