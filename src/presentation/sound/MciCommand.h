#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace brindle {

// One command of the sound slot's command channel, parsed from its text:
//   open "<file>" alias <name> | play <name> [from 0] | stop <name> | close <name>
//   | status <name> mode
// Keywords and aliases are case-insensitive; blanks between words may repeat; a file
// path with blanks must be in double quotes.
struct MciCommand {
    enum class Verb { Open, Play, Stop, Close, StatusMode };

    Verb verb = Verb::Play;
    QString alias;          // case-folded
    QString file;           // Open only, without its quotes
    bool fromStart = false; // Play only: "from 0"

    static std::optional<MciCommand> parse(QStringView text);
};

} // namespace brindle
