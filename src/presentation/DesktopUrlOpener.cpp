#include "presentation/DesktopUrlOpener.h"

#include <QDesktopServices>

namespace brindle {

bool DesktopUrlOpener::open(const QUrl& address) {
    return QDesktopServices::openUrl(address);
}

} // namespace brindle
