#pragma once

#include "presentation/SceneView.h"

#include <QHash>
#include <QList>
#include <QPixmap>
#include <memory>

namespace brindle {

class LocalPageView;

// The scene view on Qt WebEngine. While the window can be seen it holds a live
// page; while it cannot, the page, its renderer and its profile are let go and
// a picture of the page asked for last stands in for it. Seen again, that
// picture covers the new live page until the page has been drawn, so the
// window shows the right scene at once and never an empty one. Pages without
// a picture, the prepared ones among them, are drawn off the screen once for
// it when the window is hidden.
class WebEngineSceneView : public SceneView {
public:
    explicit WebEngineSceneView(QWidget* parent);
    ~WebEngineSceneView() override;
    QWidget* widget() override;
    void showPage(const QUrl& page, const QString& title) override;
    void setSeen(bool seen) override;
    void prepare(const QUrl& page) override;

private:
    void startLivePage();
    void releaseLivePage();
    void drawOffScreen(const QUrl& page);
    void keepPicture(const QUrl& page, const QPixmap& picture);

    QWidget* area_;
    QWidget* picture_;
    LocalPageView* live_ = nullptr;
    std::unique_ptr<LocalPageView> offScreen_;
    QList<QUrl> toDraw_; // the first is being drawn off the screen
    QList<QUrl> prepared_;
    QUrl current_;
    QString currentTitle_;
    QHash<QUrl, QPixmap> pictures_;
};

} // namespace brindle
