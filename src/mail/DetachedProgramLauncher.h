#pragma once

#include "mail/ProgramLauncher.h"

namespace brindle {

// Starts the program file itself, without a shell, in its own process.
class DetachedProgramLauncher : public ProgramLauncher {
public:
    bool start(const QString& program) override;
};

} // namespace brindle
