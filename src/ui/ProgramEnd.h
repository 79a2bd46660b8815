#pragma once

namespace brindle {

// Ends the program at once, without closing any other window.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endNow() = 0;
};

} // namespace brindle
