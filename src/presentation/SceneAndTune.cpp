#include "presentation/SceneAndTune.h"

#include "presentation/SceneView.h"
#include "presentation/sound/TunePlayer.h"

#include <QUrl>
#include <QWidget>

namespace brindle {

namespace {

constexpr char NormalPage[] = "Fish.htm";
constexpr char NewMailPage[] = "Kakasi.htm";

} // namespace

SceneAndTune::SceneAndTune(SceneView& scene, TunePlayer& player, ProgramFiles files,
                           QObject* parent)
    : QObject(parent), scene_(scene), player_(player), files_(std::move(files)) {
    connect(&watcher_, &RepeatingTimer::ticked, this, &SceneAndTune::watchTune);
    watcher_.setEnabled(false);
    // New mail may call for it while the window is hidden.
    scene_.prepare(pageAddress(NewMailPage));
}

void SceneAndTune::playTune() {
    openAndPlay(QStringLiteral("\\Sound\\Kouka.mid"));
}

void SceneAndTune::stopTune() {
    player_.stop();
    player_.close();
    watcher_.setEnabled(false);
}

void SceneAndTune::showNewMailScene() {
    stopTune();
    showPage(NewMailPage, tr("新着メールの場面"));
    openAndPlay(QStringLiteral("\\Sound\\Kouka2.mid"));
}

void SceneAndTune::showNormalScene() {
    showPage(NormalPage, tr("通常の場面"));
    stopTune();
}

void SceneAndTune::watchTune() {
    if (!player_.isStopped()) {
        return;
    }
    if (repeat_) {
        player_.playFromStart();
    } else {
        stopTune();
    }
}

// A tune that could not be opened leaves nothing to watch.
void SceneAndTune::openAndPlay(const QString& backslashSuffix) {
    const TunePlayer::OpenResult opened = player_.open(files_.file(backslashSuffix));
    player_.play();
    if (opened == TunePlayer::OpenResult::Opened || opened == TunePlayer::OpenResult::AlreadyOpen) {
        watcher_.setEnabled(true);
    }
}

// The scene and its page have the same name.
void SceneAndTune::showPage(const char* pageName, const QString& sceneName) {
    scene_.showPage(pageAddress(pageName), sceneName);
    scene_.widget()->setAccessibleName(sceneName);
}

// Addressed from the page's path, so that no character of the folder's name
// is read as part of a URL.
QUrl SceneAndTune::pageAddress(const char* pageName) const {
    return QUrl::fromLocalFile(
        files_.file(QStringLiteral("\\画像データ\\") + QString::fromLatin1(pageName)));
}

} // namespace brindle
