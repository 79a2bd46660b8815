#include "settings/core/ProgramFolder.h"

#include <QCoreApplication>

namespace brindle {

QString ProgramFolder::path() {
    return QCoreApplication::applicationDirPath();
}

QString ProgramFolder::join(const QString& folder, const QString& backslashSuffix) {
    return folder + QString(backslashSuffix).replace(u'\\', u'/');
}

} // namespace brindle
