#include "ui/SoftwareDrawing.h"

#include <QStringList>
#include <QtGlobal>
#include <gtest/gtest.h>
#include <map>
#include <optional>

namespace brindle::test {
namespace {

// Each test starts from an environment without the variables and leaves the
// test program's own environment and message handler as they were.
class SoftwareDrawingTest : public ::testing::Test {
protected:
    static constexpr const char* names[] = {"QT_QUICK_BACKEND", "QT_XCB_GL_INTEGRATION",
                                            "QT_XCB_NO_MITSHM"};

    SoftwareDrawingTest() {
        for (const char* name : names) {
            saved_[name] = qEnvironmentVariableIsSet(name)
                               ? std::optional<QByteArray>(qgetenv(name))
                               : std::nullopt;
            qunsetenv(name);
        }
        captured.clear();
        previousHandler_ = qInstallMessageHandler(capture);
    }
    ~SoftwareDrawingTest() override {
        qInstallMessageHandler(previousHandler_);
        for (const auto& [name, value] : saved_) {
            if (value) {
                qputenv(name, *value);
            } else {
                qunsetenv(name);
            }
        }
    }

    static void capture(QtMsgType, const QMessageLogContext&, const QString& message) {
        captured.append(message);
    }
    static inline QStringList captured;

private:
    std::map<const char*, std::optional<QByteArray>> saved_;
    QtMessageHandler previousHandler_ = nullptr;
};

TEST_F(SoftwareDrawingTest, WithoutChoicesOfTheUserDrawsInSoftwareWithoutOpenGl) {
    SoftwareDrawing::choose();
    EXPECT_EQ(qgetenv("QT_QUICK_BACKEND"), "software");
    EXPECT_EQ(qgetenv("QT_XCB_GL_INTEGRATION"), "none");
    EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), "1");

    // Only the two notices that OpenGL is missing are dropped.
    qWarning("QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL are "
             "enabled");
    qWarning("No suitable graphics backend found\n");
    qWarning("No suitable graphics backend found for the printer");
    qDebug("Cannot create platform OpenGL context, neither GLX nor EGL are enabled");
    EXPECT_EQ(captured,
              (QStringList{"No suitable graphics backend found for the printer",
                           "Cannot create platform OpenGL context, neither GLX nor EGL are "
                           "enabled"}));
}

TEST_F(SoftwareDrawingTest, TheUsersOwnChoicesStay) {
    qputenv("QT_QUICK_BACKEND", "rhi");
    SoftwareDrawing::choose();
    EXPECT_EQ(qgetenv("QT_QUICK_BACKEND"), "rhi");
    // Drawing with OpenGL needs its driver.
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"));
    EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), "1");

    qunsetenv("QT_QUICK_BACKEND");
    qputenv("QT_XCB_GL_INTEGRATION", "xcb_glx");
    qputenv("QT_XCB_NO_MITSHM", "0");
    SoftwareDrawing::choose();
    EXPECT_EQ(qgetenv("QT_QUICK_BACKEND"), "software");
    EXPECT_EQ(qgetenv("QT_XCB_GL_INTEGRATION"), "xcb_glx");
    EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), "0");
    qWarning("No suitable graphics backend found");
    EXPECT_EQ(captured, QStringList{"No suitable graphics backend found"});
}

} // namespace
} // namespace brindle::test
