#pragma once

#include "ui/InterfaceLanguage.h"

#include <QTranslator>

namespace brindle {

// The texts of the windows in one language, installed for the application's
// lifetime or this object's: Japanese is written in the program itself and
// takes Qt's own Japanese (standard buttons, the file dialog, the fields'
// context menus); English takes the program's English translation, and Qt's
// own texts are English already. Dates and times are written as the
// language's locale writes them (see interfaceLocale).
class InterfaceTexts {
public:
    explicit InterfaceTexts(InterfaceLanguage language);
    ~InterfaceTexts();
    InterfaceTexts(const InterfaceTexts&) = delete;
    InterfaceTexts& operator=(const InterfaceTexts&) = delete;

    // False when a translation the language needs is not installed; the
    // texts it would have given stay as written.
    bool complete() const { return complete_; }

private:
    QTranslator translator_;
    QLocale previousLocale_;
    bool complete_ = false;
};

} // namespace brindle
