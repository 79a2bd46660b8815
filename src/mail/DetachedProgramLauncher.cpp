#include "mail/DetachedProgramLauncher.h"

#include <QProcess>

namespace brindle {

bool DetachedProgramLauncher::start(const QString& program) {
    if (program.isEmpty()) {
        return false;
    }
    return QProcess::startDetached(program, {});
}

} // namespace brindle
