#include "ui/SoftwareDrawing.h"

#include <QtGlobal>

namespace brindle {

namespace {

QtMessageHandler passedOn = nullptr;

void passOnAllButNoticesOfNoOpenGl(QtMsgType type, const QMessageLogContext& context,
                                   const QString& message) {
    if (type == QtWarningMsg && SoftwareDrawing::isNoticeOfNoOpenGl(message)) {
        return;
    }
    passedOn(type, context, message);
}

} // namespace

void SoftwareDrawing::choose() {
    // Repaints of the scrolling name then never redraw the window with OpenGL,
    // and the scene program, started with this environment, composes the scene
    // in software too. Qt would still load the OpenGL driver (without a GPU,
    // Mesa with LLVM): about 35 MiB of the program's memory for nothing (bench/idle).
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
        qputenv("QT_QUICK_BACKEND", "software");
        if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) {
            qputenv("QT_XCB_GL_INTEGRATION", "none");
        }
    }
    // Chosen here or by the program that started this one.
    if (qgetenv("QT_XCB_GL_INTEGRATION") == "none") {
        dropNoticesOfNoOpenGl();
    }
    // For a window this small, shared-memory images only make every repaint
    // wait for a round trip to the X server.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
}

bool SoftwareDrawing::isNoticeOfNoOpenGl(const QString& message) {
    const QString text = message.trimmed();
    return text.endsWith(QStringLiteral(
               "Cannot create platform OpenGL context, neither GLX nor EGL are enabled")) ||
           text == QStringLiteral("No suitable graphics backend found");
}

// Qt and Qt WebEngine each warn once at start that there is no OpenGL.
void SoftwareDrawing::dropNoticesOfNoOpenGl() {
    passedOn = qInstallMessageHandler(passOnAllButNoticesOfNoOpenGl);
}

} // namespace brindle
