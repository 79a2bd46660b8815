#pragma once

#include "ProgramCopy.h"
#include "VirtualDisplay.h"
#include "XWindows.h"

#include <functional>
#include <gtest/gtest.h>

namespace brindle::test {

// A private copy of the program on its own X display managed by openbox.
class ProgramTest : public ::testing::Test {
public:
    static constexpr int ClientWidth = 185;
    static constexpr int ClientHeight = 193;
    // Items of the main window's menu, separators not counted.
    enum MenuItem {
        MailCheck,
        ChooseMailer,
        ToTray,
        Settings,
        Mailboxes,
        NotifyNewMail,
        NewMailEvent,
        Restore,
        AlwaysInFront,
        ReleaseFront,
        HomePage
    };

    // The part of a capture of the main window below its menu bar.
    static QImage clientArea(const QImage& capture);
    // The scene view's part of the client area.
    static QImage sceneArea(const QImage& capture);
    // The strip below the scene, with the option to start the mail program.
    static QImage optionStrip(const QImage& capture);
    // The share of pixels in which two pictures of the same size differ (1 when the sizes differ).
    static double differingShare(const QImage& a, const QImage& b);
    // Keeps a picture for the documentation (folder from BRINDLE_SCREENSHOT_DIR).
    static void saveScreenshot(const QImage& picture, const QString& name);

protected:
    explicit ProgramTest(ProgramCopy::Settings settings = ProgramCopy::Settings::Account,
                         VirtualDisplay::Manager manager = VirtualDisplay::Manager::Openbox);
    void SetUp() override;

    // Starts the program (in the C locale unless given a LANG); its main
    // window, or 0 when none appeared.
    XWindows::Id startProgram(const QString& language = {});
    // Success when the program and every process it started have ended within
    // 20 s and the program exited normally with 0.
    ::testing::AssertionResult endedCleanly();
    // A capture of the main window once its scene shows a page, has stopped loading and
    // meets the condition; null after 60 s (the last capture is kept in the build folder).
    QImage waitForScene(XWindows::Id window, const std::function<bool(const QImage&)>& condition);
    // The window's controls as a screen reader finds them: role, name and a
    // field's text (the accessibility bus must have been started).
    QList<QStringList> accessibleControls(const QString& title) const;

    VirtualDisplay display;
    XWindows windows{display.environment()};
    ProgramCopy program;
};

} // namespace brindle::test
