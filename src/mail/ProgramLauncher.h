#pragma once

#include <QString>

namespace brindle {

// Starts a program by its path, detached, in its own process; nothing in the
// path is interpreted as a command.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    virtual bool start(const QString& program) = 0;
};

} // namespace brindle
