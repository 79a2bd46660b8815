#pragma once

#include "ui/MessageBoxes.h"

namespace brindle {

class QtMessageBoxes : public MessageBoxes {
public:
    Answer show(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;
};

} // namespace brindle
