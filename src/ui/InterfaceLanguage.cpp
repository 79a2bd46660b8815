#include "ui/InterfaceLanguage.h"

#include <QStringList>

namespace brindle {

namespace {

// "ja_JP.UTF-8" -> "ja", "en@quot" -> "en".
QString languageCode(const QString& locale) {
    qsizetype end = 0;
    while (end < locale.size() && locale.at(end).isLetter()) {
        ++end;
    }
    return locale.left(end).toLower();
}

} // namespace

InterfaceLanguage desktopLanguage(const QProcessEnvironment& environment) {
    QString locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = environment.value(QString::fromLatin1(name));
        if (!locale.isEmpty()) {
            break;
        }
    }
    if (locale.isEmpty() || locale == QLatin1String("C") ||
        locale.startsWith(QLatin1String("C.")) || locale == QLatin1String("POSIX")) {
        return InterfaceLanguage::Japanese;
    }
    QStringList preferred = environment.value(QStringLiteral("LANGUAGE")).split(QLatin1Char(':'));
    preferred.append(locale);
    for (const QString& entry : preferred) {
        const QString code = languageCode(entry);
        if (code == QLatin1String("ja")) {
            return InterfaceLanguage::Japanese;
        }
        if (code == QLatin1String("en")) {
            return InterfaceLanguage::English;
        }
    }
    return InterfaceLanguage::English;
}

QLocale interfaceLocale(InterfaceLanguage language, const QLocale& desktop) {
    if (language == InterfaceLanguage::Japanese && desktop.language() != QLocale::Japanese) {
        return QLocale(QLocale::Japanese, QLocale::Japan);
    }
    return desktop;
}

} // namespace brindle
