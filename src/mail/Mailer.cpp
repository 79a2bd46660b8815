#include "mail/Mailer.h"

#include "mail/FileChooser.h"
#include "mail/ProgramLauncher.h"
#include "settings/core/SettingKeys.h"
#include "ui/MonotonicClock.h"
#include "ui/Twips.h"

#include <QFileInfo>
#include <QLabel>

namespace brindle {

namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

Mailer::Mailer(QLabel& nameLabel, FileChooser& chooser, ProgramLauncher& launcher,
               MonotonicClock& clock, QObject* parent)
    : QObject(parent), nameLabel_(nameLabel), chooser_(chooser), launcher_(launcher),
      clock_(clock) {
    connect(&scrollTimer_, &RepeatingTimer::ticked, this, &Mailer::scrollName);
}

void Mailer::chooseMailer(QWidget* dialogParent) {
    const QString chosen = chooser_.chooseFile(dialogParent);
    if (!chosen.isEmpty()) {
        lastChosen_ = chosen;
    }
    path_ = lastChosen_;
    name_ = fileName(path_);
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
    name_ = fileName(path_);
    const QString caption = path_.isEmpty() ? QStringLiteral("設定されていません。") : name_;
    // Only as wide as its text (up to its maximum), so that a move redraws no
    // more than the text, and nothing once the text has left the strip.
    if (nameLabel_.text() != caption) {
        nameLabel_.setText(caption);
        nameLabel_.adjustSize();
    }
    position_ = static_cast<int>((position_ + steps % Positions) % Positions);
    const int left = twips(nameLeft());
    if (nameLabel_.x() != left) {
        nameLabel_.move(left, nameLabel_.y());
    }
}

} // namespace brindle
