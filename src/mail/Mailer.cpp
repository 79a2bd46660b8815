#include "mail/Mailer.h"

#include "mail/FileChooser.h"
#include "mail/ProgramLauncher.h"
#include "settings/core/ProfileFile.h"
#include "settings/core/SettingKeys.h"
#include "ui/MonotonicClock.h"
#include "ui/ScrollingCaption.h"
#include "ui/Twips.h"

#include <QFileInfo>

namespace brindle {

namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

Mailer::Mailer(ScrollingCaption& nameView, FileChooser& chooser, ProgramLauncher& launcher,
               MonotonicClock& clock, QObject* parent)
    : QObject(parent), nameView_(nameView), chooser_(chooser), launcher_(launcher), clock_(clock) {
    connect(&scrollTimer_, &RepeatingTimer::ticked, this, &Mailer::scrollName);
}

void Mailer::setPath(const QString& path) {
    path_ = path;
    name_ = fileName(path_);
}

void Mailer::chooseMailer(QWidget* dialogParent) {
    const QString chosen = chooser_.chooseFile(dialogParent);
    if (!chosen.isEmpty()) {
        lastChosen_ = chosen;
    }
    setPath(lastChosen_);
    if (!chosen.isEmpty() && !ProfileFile::holdsWhole(chosen)) {
        emit chosenPathNotKept();
    }
}

void Mailer::launch() {
    if (path_ == QString::fromUtf8(SettingKeys::NotSet)) {
        return;
    }
    const QString program = path_.trimmed();
    if (!launcher_.start(program)) {
        qWarning("The mail program could not be started: %s", qUtf8Printable(program));
    }
}

void Mailer::setSeen(bool seen) {
    if (seen == scrollTimer_.isEnabled()) {
        return;
    }
    if (seen) {
        moveName((clock_.milliseconds() - unseenSince_) / StepMilliseconds);
    } else {
        unseenSince_ = clock_.milliseconds();
    }
    scrollTimer_.setEnabled(seen);
}

void Mailer::moveName(std::int64_t steps) {
    // The stored word for "none" is shown in the interface's language.
    nameView_.setText(path_.isEmpty() ? tr("設定されていません。")
                      : path_ == QString::fromUtf8(SettingKeys::NotSet) ? tr("未設定")
                                                                        : name_);
    position_ = static_cast<int>((position_ + steps % Positions) % Positions);
    nameView_.setTextLeft(twips(nameLeft()));
}

} // namespace brindle
