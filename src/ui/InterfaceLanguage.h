#pragma once

#include <QLocale>
#include <QProcessEnvironment>

namespace brindle {

// The language of the windows: Japanese is the program's own, English serves
// every other desktop language.
enum class InterfaceLanguage { Japanese, English };

// The language a desktop asks for, read as gettext reads it: LC_ALL, LC_MESSAGES
// or LANG name the locale; unset, "C" or "POSIX" keeps the program's own
// language, otherwise LANGUAGE's list (or the locale itself) picks Japanese or
// English, the first of the two it names, and English when it names neither.
InterfaceLanguage desktopLanguage(const QProcessEnvironment& environment);

// The locale the windows write dates and times in: the desktop's, or Japan's
// when the windows are Japanese and the desktop's locale is not (as "C" is).
QLocale interfaceLocale(InterfaceLanguage language, const QLocale& desktop);

} // namespace brindle
