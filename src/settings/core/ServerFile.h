#pragma once

#include "settings/core/SharedSettings.h"

#include <QString>

namespace brindle {

// The mail server file: the lines "SMTP=", "POP3=", "MAIL=" and "APOP=" followed by
// their values, in Shift-JIS with CR LF line ends.
class ServerFile {
public:
    // Values are cut to this many characters when read.
    static constexpr qsizetype MaxValueLength = 100;

    // Loads the four server settings from the file; a missing file changes nothing.
    // Lines may come in any order, a later line wins, other lines are ignored.
    static void read(const QString& path, SharedSettings& settings);
    // Rewrites the file with the four lines, at once. A value is cut at its first
    // line break. Refuses (false, file untouched) a value that Shift-JIS cannot hold.
    static bool write(const QString& path, const SharedSettings& settings);
};

} // namespace brindle
