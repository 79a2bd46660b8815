#include "mail/StatusLamp.h"

#include <QLabel>
#include <QPixmap>

namespace brindle {

StatusLamp::StatusLamp(QLabel& lamp, ProgramFiles files, std::function<void(int)> wait,
                       QObject* parent)
    : QObject(parent), lamp_(lamp), files_(std::move(files)), wait_(std::move(wait)) {
    connect(&beatTimer_, &RepeatingTimer::ticked, this, &StatusLamp::blink);
}

void StatusLamp::blink() {
    showPicture(QStringLiteral("\\画像データ\\Green.gif"));
    if (intervalOn_) {
        wait_(2000);
        showPicture(QStringLiteral("\\画像データ\\Red.gif"));
    }
}

void StatusLamp::showPicture(const QString& backslashSuffix) {
    const QPixmap picture(files_.file(backslashSuffix));
    if (!picture.isNull()) {
        lamp_.setPixmap(picture);
    }
}

} // namespace brindle
