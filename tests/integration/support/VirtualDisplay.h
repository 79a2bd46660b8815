#pragma once

#include "ChildProcess.h"
#include "support/TempFolder.h"

#include <QProcessEnvironment>

namespace brindle::test {

// An Xvfb server on a free display number, optionally with openbox managing
// its windows and a system tray (trayer, an XEmbed tray as desktops have).
// Everything started here ends with the object.
class VirtualDisplay {
public:
    enum class Manager { None, Openbox, OpenboxWithTray };
    explicit VirtualDisplay(Manager manager);

    bool ready() const { return ready_; }
    // ":N"
    const QString& name() const { return name_; }
    // The environment for processes on this display, with a home folder of their own.
    QProcessEnvironment environment() const;

private:
    bool startServer();
    bool startManager();
    bool startTray();

    TempFolder home_;
    ChildProcess server_;
    ChildProcess manager_;
    ChildProcess tray_;
    QString name_;
    bool ready_ = false;
};

} // namespace brindle::test
