#include "mail/Mailer.h"

#include "mail/FileChooser.h"
#include "mail/ProgramLauncher.h"
#include "settings/core/SettingKeys.h"
#include "ui/Twips.h"

#include <QFileInfo>
#include <QLabel>

namespace brindle {

namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

Mailer::Mailer(QLabel& nameLabel, FileChooser& chooser, ProgramLauncher& launcher, QObject* parent)
    : QObject(parent), nameLabel_(nameLabel), chooser_(chooser), launcher_(launcher) {
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

void Mailer::scrollName() {
    name_ = fileName(path_);
    const QString caption = path_.isEmpty() ? QStringLiteral("設定されていません。") : name_;
    if (nameLabel_.text() != caption) {
        nameLabel_.setText(caption);
    }
    nameLeft_ = nameLeft_ == -1500.0F ? StartLeft : nameLeft_ - 20.0F;
    const int left = twips(nameLeft_);
    if (nameLabel_.x() != left) {
        nameLabel_.move(left, nameLabel_.y());
    }
}

} // namespace brindle
