#pragma once

#include <QString>

namespace brindle {

// Modal message boxes; each returns once the user has answered.
class MessageBoxes {
public:
    enum class Icon { None, Information, Exclamation, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageBoxes() = default;
    virtual Answer show(const QString& text, const QString& caption, Icon icon,
                        Buttons buttons) = 0;
};

} // namespace brindle
