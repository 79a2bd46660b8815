#pragma once

#include "ui/RepeatingTimer.h"

#include <QObject>
#include <QString>

class QLabel;
class QWidget;

namespace brindle {

class FileChooser;
class ProgramLauncher;

// The user's own mail program: its path as chosen and stored, its start on
// new mail, and its name scrolling through the title strip.
class Mailer : public QObject {
    Q_OBJECT
public:
    // Where the name enters the strip, in twips.
    static constexpr float StartLeft = 2760.0F;

    // nameLabel lies in the title strip and scrolls from right to left.
    Mailer(QLabel& nameLabel, FileChooser& chooser, ProgramLauncher& launcher,
           QObject* parent = nullptr);

    // The stored path, or the marker for "not set".
    const QString& path() const { return path_; }
    void setPath(const QString& path) { path_ = path; }
    // The file name part of the path, as the name strip shows it.
    const QString& name() const { return name_; }

    // Lets the user pick the program; a cancel keeps the path chosen before.
    void chooseMailer(QWidget* dialogParent);
    void launch();
    // One step of the name strip.
    void scrollName();

    // The name's left edge inside the strip, in twips.
    float nameLeft() const { return nameLeft_; }

private:
    QLabel& nameLabel_;
    FileChooser& chooser_;
    ProgramLauncher& launcher_;
    QString path_;
    QString name_;
    // The last path picked in the file chooser this run.
    QString lastChosen_;
    float nameLeft_ = StartLeft;
    RepeatingTimer scrollTimer_{20};
};

} // namespace brindle
