#include "VirtualDisplay.h"

#include "Polling.h"

#include <QDBusInterface>
#include <QDBusMessage>
#include <QProcess>
#include <gtest/gtest.h>

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
    ready_ = startServer() && startSessionBus() && (manager == Manager::None || startManager()) &&
             (manager != Manager::OpenboxWithTray || startTray()) &&
             (manager != Manager::OpenboxWithStatusNotifierTray || startStatusNotifierTray());
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
    if (bus_) {
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, bus_->address());
    }
    if (accessible_) {
        environment.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
    }
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

bool VirtualDisplay::startSessionBus() {
    bus_ = std::make_unique<PrivateBus>();
    return !bus_->address().isEmpty();
}

void VirtualDisplay::stopTray() {
    tray_.stop();
}

bool VirtualDisplay::startStatusNotifierTray() {
    // A panel started beside a running program now and then never registers
    // its host; started once more, it does.
    for (int attempt = 0; attempt < 3; ++attempt) {
        tray_.stop();
        if (!tray_.start(u"gtk-sni-tray-standalone"_s, {u"--watcher"_s, u"--top"_s, u"--end"_s},
                         environment())) {
            return false;
        }
        // Ready once the watcher knows a host: only then do programs show their items there.
        if (pollUntil(
                [this] {
                    QDBusInterface watcher(u"org.kde.StatusNotifierWatcher"_s,
                                           u"/StatusNotifierWatcher"_s,
                                           u"org.kde.StatusNotifierWatcher"_s, bus_->connection());
                    return watcher.isValid() &&
                           watcher.property("IsStatusNotifierHostRegistered").toBool();
                },
                10s)) {
            return true;
        }
    }
    return false;
}

bool VirtualDisplay::startAccessibility() {
    if (!accessibility_.start(u"/usr/libexec/at-spi-bus-launcher"_s, {u"--launch-immediately"_s},
                              environment())) {
        return false;
    }
    accessible_ = pollUntil(
        [this] {
            QDBusInterface launcher(u"org.a11y.Bus"_s, u"/org/a11y/bus"_s, u"org.a11y.Bus"_s,
                                    bus_->connection());
            return launcher.isValid() &&
                   launcher.call(u"GetAddress"_s).type() == QDBusMessage::ReplyMessage;
        },
        15s);
    return accessible_;
}

QStringList VirtualDisplay::readAccessible(const QString& script,
                                           const QStringList& arguments) const {
    QProcess reader;
    reader.setProcessEnvironment(environment());
    reader.start(u"/usr/bin/python3"_s,
                 QStringList{QStringLiteral(BRINDLE_TEST_SUPPORT_FOLDER "/") + script} + arguments);
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0) {
        ADD_FAILURE() << script.toStdString() << ": "
                      << reader.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace brindle::test
