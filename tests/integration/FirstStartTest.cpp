#include "support/ProgramTest.h"

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;

class FirstStartTest : public ProgramTest {
protected:
    FirstStartTest() : ProgramTest(ProgramCopy::Settings::None) {}

    // Moves the window to a free part of the screen, checks its client size and
    // keeps a picture of it.
    void placeAndKeep(XWindows::Id window, QPoint place, QSize clientSize, const QString& picture) {
        windows.moveTo(window, place.x(), place.y());
        windows.activate(window);
        EXPECT_EQ(windows.geometry(window).size(), clientSize) << picture.toStdString();
        const QImage capture = windows.settledCapture(window, XWindows::Framing::WithFrame);
        ASSERT_FALSE(capture.isNull()) << picture.toStdString();
        saveScreenshot(capture, picture);
    }
};

TEST_F(FirstStartTest, OpensBothDialogsAndTheMenuOpensTheSettingsWindow) {
    const XWindows::Id mainWindow = startProgram();
    ASSERT_NE(mainWindow, 0u);
    const XWindows::Id server = windows.waitFor(u"サーバー設定"_s);
    ASSERT_NE(server, 0u) << "no server settings dialog";
    const XWindows::Id account = windows.waitFor(u"ID,PASS"_s);
    ASSERT_NE(account, 0u) << "no account dialog";
    // The settings window exists hidden until the menu shows it.
    EXPECT_TRUE(windows.find(u"設定"_s).isEmpty());

    // The main window lies in the middle of the 1024 x 768 screen; the dialogs go aside.
    placeAndKeep(server, {20, 20}, {193, 201}, u"server-settings.png"_s);
    placeAndKeep(account, {20, 300}, {192, 147}, u"account.png"_s);

    ASSERT_TRUE(windows.chooseMenuItem(mainWindow, Settings));
    const XWindows::Id settings = windows.waitFor(u"設定"_s);
    ASSERT_NE(settings, 0u) << "the menu did not open the settings window";
    placeAndKeep(settings, {700, 20}, {255, 221}, u"settings.png"_s);
    // Light grey background, for example left of the first button.
    const QImage client = windows.capture(settings);
    EXPECT_EQ(client.pixelColor(5, 5), QColor(192, 192, 192));
    // Opening the dialogs did not close or move the main window.
    EXPECT_TRUE(windows.viewable(mainWindow));
}

} // namespace
} // namespace brindle::test
