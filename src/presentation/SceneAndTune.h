#pragma once

#include "settings/core/ProgramFiles.h"
#include "ui/RepeatingTimer.h"

#include <QObject>
#include <QUrl>

namespace brindle {

class SceneView;
class TunePlayer;

// The picture area and the tune: the normal scene, or the new-mail scene with
// its tune, which the watcher repeats while repeating is on. The watcher runs
// only while a tune is open; with nothing open its look would find nothing.
class SceneAndTune : public QObject {
    Q_OBJECT
public:
    SceneAndTune(SceneView& scene, TunePlayer& player, ProgramFiles files,
                 QObject* parent = nullptr);

    // The button tune, played on where it stands when a tune is open already.
    void playTune();
    // Stops and closes the tune and the watcher.
    void stopTune();
    void showNewMailScene();
    void showNormalScene();
    // The watcher's look at the tune: a tune that has stopped starts again.
    void watchTune();

    bool repeatsTune() const { return repeat_; }
    void setRepeatsTune(bool repeat) { repeat_ = repeat; }
    const RepeatingTimer& watcher() const { return watcher_; }

private:
    void openAndPlay(const QString& backslashSuffix);
    void showPage(const char* pageName, const QString& sceneName);
    QUrl pageAddress(const char* pageName) const;

    SceneView& scene_;
    TunePlayer& player_;
    ProgramFiles files_;
    bool repeat_ = true;
    RepeatingTimer watcher_{100};
};

} // namespace brindle
