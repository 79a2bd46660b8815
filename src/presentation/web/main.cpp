// The scene program: holds the web engine, which the program itself never
// loads, and draws the scene pages into the program's window while it can be
// seen. Started by the program as
//   brindle-scene <window id> <width> <height>
// it is driven over its standard input and output and ends when its input closes.
#include "presentation/scene/SceneMessage.h"
#include "presentation/web/ProgramPipe.h"
#include "presentation/web/ScenePages.h"
#include "ui/SoftwareDrawing.h"

#include <QApplication>
#include <QLoggingCategory>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

bool readSide(const QString& text, int& side) {
    bool ok = false;
    side = text.toInt(&ok);
    return ok && side >= 1 && side <= brindle::SceneMessage::MostPictureSide;
}

} // namespace

int main(int argc, char** argv) {
    // The window it draws in is an X window.
    qputenv("QT_QPA_PLATFORM", "xcb");
    // Qt WebEngine's sandbox cannot run as root; it stays on for everyone else.
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    brindle::SoftwareDrawing::choose();
    // The pages run no script but the one that names them: the script engine's
    // interpreter alone takes less of the renderer's memory (bench/tray), and
    // WebAssembly, which it cannot run, is off rather than warned about. The
    // user's own switches follow and win.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            "--js-flags=--lite-mode,--no-expose-wasm " + qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

    const QStringList arguments = QApplication::arguments();
    bool windowOk = false;
    const WId window = arguments.value(1).toULongLong(&windowOk);
    int width = 0;
    int height = 0;
    if (arguments.size() != 4 || !windowOk || window == 0 || !readSide(arguments[2], width) ||
        !readSide(arguments[3], height)) {
        std::fprintf(stderr, "usage: brindle-scene <window id> <width> <height>; Brindle starts "
                             "it by itself.\n");
        return 2;
    }
    // A program gone is heard as a failed write, not a signal.
    std::signal(SIGPIPE, SIG_IGN);

    brindle::ScenePages pages(window, QSize(width, height));
    brindle::ProgramPipe pipe;
    QObject::connect(&pipe, &brindle::ProgramPipe::received, &pages,
                     [&pages](const brindle::SceneMessage& message) {
                         if (message.kind == brindle::SceneMessage::Kind::Show) {
                             pages.show(message.page, message.title);
                         } else {
                             pages.draw(message.page);
                         }
                     });
    QObject::connect(&pages, &brindle::ScenePages::pictureTaken, &pipe,
                     [&pipe](const QUrl& page, const QImage& picture) {
                         const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
                         pipe.send(brindle::SceneMessage::picture(
                             page, opaque.size(),
                             QByteArray(reinterpret_cast<const char*>(opaque.constBits()),
                                        opaque.sizeInBytes())));
                     });
    QObject::connect(&pages, &brindle::ScenePages::shown, &pipe,
                     [&pipe](const QUrl& page) { pipe.send(brindle::SceneMessage::shown(page)); });
    // Ends at once: quit() would first ask the live page's window to close, which it may refuse.
    QObject::connect(&pipe, &brindle::ProgramPipe::closed, &app, [] { QApplication::exit(0); });
    return QApplication::exec();
}
