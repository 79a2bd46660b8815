#pragma once

#include "presentation/SceneView.h"
#include "presentation/scene/SceneProcess.h"

#include <QHash>
#include <QList>
#include <QPixmap>
#include <QSet>
#include <QTimer>

namespace brindle {

// The scene view of the program, which holds no web engine: while the window
// can be seen, the scene program draws the page into a window of this view;
// while it cannot, that program is ended and a picture of the page asked for
// last stands in for it. The scene program sends a picture of each page it
// shows, and of the pages without one, drawn off the screen once the window
// is hidden, before the program ends. The picture covers the scene program's
// window until its page is drawn, so the scene comes back at once and never
// empty; it stays while the scene program is missing or has failed, which is
// started again the next time the window is seen.
class SceneProgramView : public SceneView {
public:
    SceneProgramView(QWidget* parent, const QString& program);
    QWidget* widget() override;
    void showPage(const QUrl& page, const QString& title) override;
    void setSeen(bool seen) override;
    void prepare(const QUrl& page) override;

private:
    void startProgram();
    void askForMissingPictures();
    void endProgramOncePicturesAreKept();
    void keepPicture(const QUrl& page, const QImage& picture);
    void coverWithPicture();
    void showPictureOf(const QUrl& page);

    QWidget* area_;
    QWidget* programWindow_; // where the scene program draws the page
    QWidget* picture_;       // over it
    SceneProcess program_;
    QTimer picturesLimit_; // hidden, how long the program may still draw pictures
    QList<QUrl> prepared_;
    QHash<QUrl, QPixmap> pictures_;
    QSet<QUrl> askedFor_; // pictures asked of the running program
    QUrl current_;
    QString currentTitle_;
    bool seen_ = true;
    bool failed_ = false; // since the window was last seen
};

} // namespace brindle
