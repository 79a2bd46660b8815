#include "app/DesktopPlatform.h"
#include "app/DisplayCheck.h"
#include "app/MainWindow.h"
#include "ui/SoftwareDrawing.h"
#include "app/TerminationSignals.h"
#include "ui/InterfaceTexts.h"

#include <QApplication>
#include <QFont>
#include <cstdio>

int main(int argc, char** argv) {
    if (!brindle::xDisplayReachable()) {
        std::fprintf(stderr, "Brindle needs an X display, and none could be reached "
                             "(is DISPLAY set and the X server running?).\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    brindle::SoftwareDrawing::choose();
    QApplication app(argc, argv);
    const brindle::InterfaceTexts texts(
        brindle::desktopLanguage(QProcessEnvironment::systemEnvironment()));
    if (!texts.complete()) {
        qWarning("The interface's translation could not be loaded; Qt's Japanese comes from "
                 "qt6-translations-l10n.");
    }
    // The program ends only through its main window (close box, "終了", a signal),
    // never because a box or the notice board closed while the window is in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows are designed for a proportional Japanese Gothic.
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));

    // Installed before any window shows, so an ending signal waits for the
    // main window instead of killing the program unsaved.
    brindle::TerminationSignals termination;
    brindle::MainWindow mainWindow(brindle::createDesktopPlatform());
    QObject::connect(&termination, &brindle::TerminationSignals::requested, &mainWindow,
                     &brindle::MainWindow::close);
    termination.deliver();
    return QApplication::exec();
}
