#pragma once

#include <QString>

namespace brindle {

// The folder that holds the program and the paths of the files beside it.
class ProgramFolder {
public:
    // The folder of the running program, without a trailing separator.
    static QString path();
    // The folder followed by a suffix written with backslashes ("\\Sound\\x.mid"),
    // each backslash turned into '/'; nothing else is added or removed.
    static QString join(const QString& folder, const QString& backslashSuffix);
};

} // namespace brindle
