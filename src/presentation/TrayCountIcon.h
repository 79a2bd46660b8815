#pragma once

#include <QIcon>
#include <QString>

namespace brindle {

// The program's icon with the count of messages drawn on it: white digits on
// a red badge across its lower part, readable at the tray's 16 and 22 pixels;
// "99+" above 99.
class TrayCountIcon {
public:
    static QIcon draw(const QIcon& plain, int count);
    static QString countText(int count);
};

} // namespace brindle
