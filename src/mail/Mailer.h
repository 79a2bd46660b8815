#pragma once

#include "ui/RepeatingTimer.h"

#include <QObject>
#include <QString>
#include <cstdint>

class QWidget;

namespace brindle {

class FileChooser;
class MonotonicClock;
class ProgramLauncher;
class ScrollingCaption;

// The user's own mail program: its path as chosen and stored, its start on
// new mail, and its name scrolling through the title strip.
class Mailer : public QObject {
    Q_OBJECT
public:
    // The name enters the strip at StartLeft and moves StepTwips to the left
    // every StepMilliseconds; the step after EndLeft brings it back to StartLeft.
    static constexpr float StartLeft = 2760.0F;
    static constexpr float EndLeft = -1500.0F;
    static constexpr float StepTwips = 20.0F;
    static constexpr int StepMilliseconds = 20;
    static constexpr int Positions = static_cast<int>((StartLeft - EndLeft) / StepTwips) + 1;

    // nameView lies over the title strip and scrolls the name from right to
    // left; the clock tells how far it would have scrolled while nobody could see it.
    Mailer(ScrollingCaption& nameView, FileChooser& chooser, ProgramLauncher& launcher,
           MonotonicClock& clock, QObject* parent = nullptr);

    // The stored path, or the marker for "not set".
    const QString& path() const { return path_; }
    void setPath(const QString& path);
    // The file name part of the path, as the name strip shows it.
    const QString& name() const { return name_; }

    // Lets the user pick the program; a cancel keeps the path chosen before.
    // A path the settings file cannot hold is used this run and said so.
    void chooseMailer(QWidget* dialogParent);
    void launch();
    // One step of the name strip.
    void scrollName() { moveName(1); }
    // While the window cannot be seen the name stands still; seen again, it
    // jumps to where it would have scrolled to meanwhile and scrolls on.
    void setSeen(bool seen);

    // The name's left edge inside the strip, in twips.
    float nameLeft() const { return StartLeft - StepTwips * static_cast<float>(position_); }
    const RepeatingTimer& scrollTimer() const { return scrollTimer_; }

signals:
    // The chosen path cannot be stored: the next start goes back to the stored one.
    void chosenPathNotKept();

private:
    // Shows the caption for the path and moves the name on by the given steps.
    void moveName(std::int64_t steps);

    ScrollingCaption& nameView_;
    FileChooser& chooser_;
    ProgramLauncher& launcher_;
    MonotonicClock& clock_;
    QString path_;
    QString name_;
    // The last path picked in the file chooser this run.
    QString lastChosen_;
    // Steps from StartLeft, 0 to Positions - 1.
    int position_ = 0;
    std::int64_t unseenSince_ = 0;
    RepeatingTimer scrollTimer_{StepMilliseconds};
};

} // namespace brindle
