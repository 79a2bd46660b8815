#pragma once

#include "ChildProcess.h"
#include "support/PrivateBus.h"
#include "support/TempFolder.h"

#include <QProcessEnvironment>
#include <memory>

namespace brindle::test {

// An Xvfb server on a free display number with a session bus of its own, as
// a desktop session has (so that no program started on it autolaunches one),
// optionally with openbox managing its windows and a system tray: trayer, an
// XEmbed tray, or a StatusNotifierItem watcher and host on that bus, as KDE's
// and GNOME's panels are. Everything started here ends with the object.
class VirtualDisplay {
public:
    enum class Manager { None, Openbox, OpenboxWithTray, OpenboxWithStatusNotifierTray };
    explicit VirtualDisplay(Manager manager);

    bool ready() const { return ready_; }
    // ":N"
    const QString& name() const { return name_; }
    // The environment for processes on this display, with a home folder of their own.
    QProcessEnvironment environment() const;
    // The display's session bus, with the StatusNotifierItem tray or the
    // accessibility bus when started; null when the display is not ready.
    const PrivateBus* sessionBus() const { return bus_.get(); }
    // Starts the StatusNotifierItem watcher and host, as a panel that comes up
    // after the programs do; stopTray() ends it, or trayer, again.
    bool startStatusNotifierTray();
    void stopTray();
    // Starts the accessibility bus (AT-SPI) on the display's session bus; the
    // programs started after it expose their windows there.
    bool startAccessibility();
    // The lines a script reading the accessible tree (tests/integration/support) prints.
    QStringList readAccessible(const QString& script, const QStringList& arguments) const;

private:
    bool startServer();
    bool startManager();
    bool startTray();
    bool startSessionBus();

    TempFolder home_;
    ChildProcess server_;
    ChildProcess manager_;
    ChildProcess tray_;
    ChildProcess accessibility_;
    std::unique_ptr<PrivateBus> bus_;
    QString name_;
    bool ready_ = false;
    bool accessible_ = false;
};

} // namespace brindle::test
