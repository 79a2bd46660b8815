#include "VirtualDisplay.h"

#include "Polling.h"

#include <QProcess>

namespace brindle::test {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// How long each program of the display has to come up: on a loaded machine
// with two cores 15 s were once too few. One that ends is given up at once.
constexpr auto startLimit = 60s;

// Polls until up() holds while child runs; says which program failed otherwise.
template <typename Up> bool cameUp(ChildProcess& child, Up up) {
    QProcess& process = child.process();
    const auto ended = [&process] {
        process.waitForFinished(0); // takes note of an end
        return process.state() == QProcess::NotRunning;
    };
    if (pollUntil([&] { return ended() || up(); }, startLimit) && !ended()) {
        return true;
    }
    qWarning("%s did not come up: %s", qPrintable(process.program()),
             ended() ? "it ended" : "time is up");
    return false;
}

} // namespace

VirtualDisplay::VirtualDisplay(Manager manager) {
    ready_ = startServer() && (manager == Manager::None || startManager()) &&
             (manager != Manager::OpenboxWithTray || startTray());
}

QProcessEnvironment VirtualDisplay::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"XAUTHORITY", "WAYLAND_DISPLAY", "SESSION_MANAGER", "QT_QPA_PLATFORM"}) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(u"DISPLAY"_s, name_);
    environment.insert(u"HOME"_s, home_.path());
    environment.insert(u"XDG_CONFIG_HOME"_s, home_.path() + u"/.config"_s);
    environment.insert(u"LANG"_s, u"C.UTF-8"_s);
    return environment;
}

bool VirtualDisplay::startServer() {
    // The server picks a free number itself and writes it to the given descriptor.
    const QStringList arguments{u"-displayfd"_s,  u"1"_s,         u"-screen"_s, u"0"_s,
                                u"1024x768x24"_s, u"-nolisten"_s, u"tcp"_s};
    if (!server_.start(u"Xvfb"_s, arguments, QProcessEnvironment::systemEnvironment())) {
        return false;
    }
    QByteArray output;
    if (!cameUp(server_, [&] {
            server_.process().waitForReadyRead(50);
            output += server_.process().readAllStandardOutput();
            return output.contains('\n');
        })) {
        return false;
    }
    name_ = u":"_s + QString::fromLatin1(output.trimmed());
    return true;
}

bool VirtualDisplay::startManager() {
    if (!manager_.start(u"openbox"_s, {}, environment())) {
        return false;
    }
    // openbox announces itself on the root window once it manages the screen.
    return cameUp(manager_, [this] {
        QProcess probe;
        probe.setProcessEnvironment(environment());
        probe.start(u"xprop"_s, {u"-root"_s, u"_NET_SUPPORTING_WM_CHECK"_s});
        probe.waitForFinished(5000);
        return probe.readAllStandardOutput().contains("window id");
    });
}

bool VirtualDisplay::startTray() {
    const QStringList arguments{u"--edge"_s,        u"top"_s,  u"--align"_s,     u"right"_s,
                                u"--height"_s,      u"24"_s,   u"--widthtype"_s, u"request"_s,
                                u"--transparent"_s, u"false"_s};
    if (!tray_.start(u"trayer"_s, arguments, environment())) {
        return false;
    }
    return cameUp(tray_, [this] {
        QProcess probe;
        probe.setProcessEnvironment(environment());
        probe.start(u"xdotool"_s, {u"search"_s, u"--class"_s, u"trayer"_s});
        probe.waitForFinished(5000);
        return !probe.readAllStandardOutput().trimmed().isEmpty();
    });
}

} // namespace brindle::test
