#include "VirtualDisplay.h"

#include "Polling.h"

#include <QProcess>

namespace brindle::test {

using namespace std::chrono_literals;

VirtualDisplay::VirtualDisplay(Manager manager) {
    ready_ = startServer() && (manager == Manager::None || startManager());
}

QProcessEnvironment VirtualDisplay::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"XAUTHORITY", "WAYLAND_DISPLAY", "SESSION_MANAGER", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(QStringLiteral("DISPLAY"), name_);
    environment.insert(QStringLiteral("HOME"), home_.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       home_.path() + QStringLiteral("/.config"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    return environment;
}

bool VirtualDisplay::startServer() {
    // The server picks a free number itself and writes it to the given descriptor.
    const QStringList arguments{QStringLiteral("-displayfd"),  QStringLiteral("1"),
                                QStringLiteral("-screen"),     QStringLiteral("0"),
                                QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                QStringLiteral("tcp")};
    if (!server_.start(QStringLiteral("Xvfb"), arguments,
                       QProcessEnvironment::systemEnvironment())) {
        return false;
    }
    QByteArray output;
    const bool numbered = pollUntil(
        [&] {
            server_.process().waitForReadyRead(50);
            output += server_.process().readAllStandardOutput();
            return output.contains('\n') || server_.process().state() == QProcess::NotRunning;
        },
        15s);
    if (!numbered || !output.contains('\n')) {
        return false;
    }
    name_ = QStringLiteral(":") + QString::fromLatin1(output.trimmed());
    return true;
}

bool VirtualDisplay::startManager() {
    if (!manager_.start(QStringLiteral("openbox"), {}, environment())) {
        return false;
    }
    // openbox announces itself on the root window once it manages the screen.
    return pollUntil(
        [this] {
            QProcess probe;
            probe.setProcessEnvironment(environment());
            probe.start(QStringLiteral("xprop"),
                        {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
            probe.waitForFinished(5000);
            return probe.readAllStandardOutput().contains("window id");
        },
        15s);
}

} // namespace brindle::test
