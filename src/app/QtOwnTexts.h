#pragma once

class QCoreApplication;

namespace brindle {

// Qt's own texts (standard buttons, the file dialog, fields' context menus)
// in the program's language, from the translations installed with Qt.
class QtOwnTexts {
public:
    // False when Qt's translation is not installed: its English texts stay.
    static bool installJapanese(QCoreApplication& application);
};

} // namespace brindle
