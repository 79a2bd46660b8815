#include "support/Polling.h"
#include "support/ProgramTest.h"

#include <QColor>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

using MainWindowTest = ProgramTest;

QColor clientPixel(const QImage& capture, int x, int y) {
    return ProgramTest::clientArea(capture).pixelColor(x, y);
}

TEST_F(MainWindowTest, OpensCentredWithItsCaptionFixedSizeAndPanelColours) {
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u) << "no window titled \"Brindle Ver 1.0\"";

    const QRect geometry = windows.geometry(window);
    EXPECT_EQ(geometry.width(), ClientWidth);
    const int menuBarHeight = geometry.height() - ClientHeight;
    EXPECT_GE(menuBarHeight, 12);
    EXPECT_LE(menuBarHeight, 40);
    // Not resizable: the smallest and the largest size are the window's size.
    const QString sizeHints = windows.property(window, u"WM_NORMAL_HINTS"_s);
    const QString size = u"%1 by %2"_s.arg(ClientWidth).arg(geometry.height());
    EXPECT_TRUE(sizeHints.contains(u"minimum size: "_s + size)) << sizeHints.toStdString();
    EXPECT_TRUE(sizeHints.contains(u"maximum size: "_s + size)) << sizeHints.toStdString();
    // Minimise and close, but no maximise and no resizing.
    const QString actions = windows.property(window, u"_NET_WM_ALLOWED_ACTIONS"_s);
    EXPECT_TRUE(actions.contains(u"_NET_WM_ACTION_MINIMIZE"_s)) << actions.toStdString();
    EXPECT_TRUE(actions.contains(u"_NET_WM_ACTION_CLOSE"_s)) << actions.toStdString();
    EXPECT_FALSE(actions.contains(u"_NET_WM_ACTION_MAXIMIZE"_s)) << actions.toStdString();
    EXPECT_FALSE(actions.contains(u"_NET_WM_ACTION_RESIZE"_s)) << actions.toStdString();
    // Centred on the 1024 x 768 screen; the title bar above it shifts it down a little.
    EXPECT_NEAR(geometry.center().x(), 512, 4);
    EXPECT_NEAR(geometry.center().y(), 384, 30);

    const QImage capture = waitForScene(window, [](const QImage&) { return true; });
    ASSERT_FALSE(capture.isNull()) << "the scene never showed a page";
    const QColor intervalPanel(0, 64, 0);
    const QColor optionStrip(224, 224, 224);
    EXPECT_EQ(clientPixel(capture, 100, 190), intervalPanel);
    EXPECT_EQ(clientPixel(capture, 30, 190), intervalPanel);
    EXPECT_EQ(clientPixel(capture, 2, 122), optionStrip);
    EXPECT_EQ(clientPixel(capture, 183, 130), optionStrip);
    // The scene ends where the option strip begins.
    EXPECT_NE(clientPixel(capture, 90, 118), optionStrip);

    saveScreenshot(windows.settledCapture(window, XWindows::Framing::WithFrame),
                   u"main-window.png"_s);
}

TEST_F(MainWindowTest, AlwaysInFrontCanBeReleasedAndRestoredRepeatedly) {
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);
    const auto inFront = [&] {
        return windows.property(window, u"_NET_WM_STATE"_s).contains(u"_NET_WM_STATE_ABOVE"_s);
    };
    ASSERT_TRUE(pollUntil(inFront, 10s)) << "not in front after start";
    const QRect placed = windows.geometry(window);

    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(windows.chooseMenuItem(window, ReleaseFront));
        EXPECT_TRUE(pollUntil([&] { return !inFront(); }, 10s));
        EXPECT_TRUE(windows.viewable(window));
        EXPECT_EQ(windows.geometry(window), placed);

        ASSERT_TRUE(windows.chooseMenuItem(window, AlwaysInFront));
        EXPECT_TRUE(pollUntil(inFront, 10s));
        EXPECT_TRUE(windows.viewable(window));
        EXPECT_EQ(windows.geometry(window), placed);
    }
    // Choosing the same item again changes nothing.
    ASSERT_TRUE(windows.chooseMenuItem(window, AlwaysInFront));
    EXPECT_TRUE(inFront());
    EXPECT_EQ(windows.geometry(window), placed);
}

TEST_F(MainWindowTest, ClosingSavesTheMainWindowSettingsAndEndsEveryProcess) {
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);
    // Let the scene load so that the page's helper processes are running too.
    ASSERT_FALSE(waitForScene(window, [](const QImage&) { return true; }).isNull());
    EXPECT_FALSE(program.mainSettings().contains("NAME="));

    windows.close(window);
    ASSERT_TRUE(endedCleanly()) << "after closing";

    const QByteArray saved = program.mainSettings();
    EXPECT_TRUE(saved.startsWith("[EXEINI]\r\n")) << saved.toStdString();
    // "未設定" in Shift-JIS.
    EXPECT_TRUE(saved.contains("\r\nNAME=\x96\xa2\x90\xdd\x92\xe8\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\r\nNUMBER3=0\r\n")) << saved.toStdString();
}

} // namespace
} // namespace brindle::test
