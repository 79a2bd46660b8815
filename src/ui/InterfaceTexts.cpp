#include "ui/InterfaceTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace brindle {

InterfaceTexts::InterfaceTexts(InterfaceLanguage language) {
    QLocale::setDefault(interfaceLocale(language, QLocale::system()));
    const bool loaded = language == InterfaceLanguage::English
                            ? translator_.load(QStringLiteral(":/i18n/brindle_en.qm"))
                            : translator_.load(QStringLiteral("qtbase_ja"),
                                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    complete_ = loaded && QCoreApplication::installTranslator(&translator_);
}

InterfaceTexts::~InterfaceTexts() {
    QCoreApplication::removeTranslator(&translator_);
    QLocale::setDefault(previousLocale_);
}

} // namespace brindle
