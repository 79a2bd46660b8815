#include "support/Polling.h"
#include "support/ProgramTest.h"

#include <QColor>

namespace brindle::test {
namespace {

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
    const QString sizeHints = windows.property(window, QStringLiteral("WM_NORMAL_HINTS"));
    const QString size = QStringLiteral("%1 by %2").arg(ClientWidth).arg(geometry.height());
    EXPECT_TRUE(sizeHints.contains(QStringLiteral("minimum size: ") + size))
        << sizeHints.toStdString();
    EXPECT_TRUE(sizeHints.contains(QStringLiteral("maximum size: ") + size))
        << sizeHints.toStdString();
    // Centred on the 1024 x 768 screen; the frame shifts it by a few pixels at most.
    EXPECT_NEAR(geometry.center().x(), 512, 10);
    EXPECT_NEAR(geometry.center().y(), 384, 20);

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

    saveScreenshot(settledCapture(window, XWindows::Framing::WithFrame),
                   QStringLiteral("main-window.png"));
}

TEST_F(MainWindowTest, AlwaysInFrontCanBeReleasedAndRestoredRepeatedly) {
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);
    const auto inFront = [&] {
        return windows.property(window, QStringLiteral("_NET_WM_STATE"))
            .contains(QStringLiteral("_NET_WM_STATE_ABOVE"));
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
    ASSERT_TRUE(program.process().waitForGroupEnd(20s)) << "processes left after closing";
    EXPECT_EQ(program.process().process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().process().exitCode(), 0);

    const QByteArray saved = program.mainSettings();
    EXPECT_TRUE(saved.startsWith("[EXEINI]\r\n")) << saved.toStdString();
    // "未設定" in Shift-JIS.
    EXPECT_TRUE(saved.contains("\r\nNAME=\x96\xa2\x90\xdd\x92\xe8\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\r\nNUMBER3=0\r\n")) << saved.toStdString();
}

} // namespace
} // namespace brindle::test
