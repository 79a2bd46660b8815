#pragma once

#include <QCheckBox>
#include <QString>

namespace brindle {

// Check boxes are stored as "1" and "0"; any other stored number leaves the
// box as it is.
inline void applyStoredTick(QCheckBox& box, int stored) {
    if (stored == 1) {
        box.setChecked(true);
    } else if (stored == 0) {
        box.setChecked(false);
    }
}

inline QString storedTick(const QCheckBox& box) {
    return box.isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace brindle
