#pragma once

#include "ui/ProgramEnd.h"

namespace brindle {

// Ends the process at once: every setting has been written by then, and no
// other window's close handler may run.
class ImmediateProgramEnd : public ProgramEnd {
public:
    void endNow() override;
};

} // namespace brindle
