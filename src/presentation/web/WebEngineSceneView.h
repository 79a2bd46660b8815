#pragma once

#include "presentation/SceneView.h"

#include <QHash>
#include <QPixmap>
#include <memory>

namespace brindle {

class LocalPageView;

// The scene view on Qt WebEngine. While the window can be seen it holds a live
// page; while it cannot, the page, its renderer and its profile are let go and
// a picture of the page asked for last stands in for it. Seen again, that
// picture covers the new live page until the page has been drawn, so the
// window shows the right scene at once and never an empty one. A page first
// asked for while unseen is drawn off the screen once for its picture.
class WebEngineSceneView : public SceneView {
public:
    explicit WebEngineSceneView(QWidget* parent);
    ~WebEngineSceneView() override;
    QWidget* widget() override;
    void showPage(const QUrl& page) override;
    void setSeen(bool seen) override;

private:
    void startLivePage();
    void releaseLivePage();
    void drawOffScreen(const QUrl& page);
    void keepPicture(const QUrl& page, const QPixmap& picture);

    QWidget* area_;
    QWidget* picture_;
    LocalPageView* live_ = nullptr;
    std::unique_ptr<LocalPageView> offScreen_;
    QUrl offScreenPage_;
    QUrl current_;
    QHash<QUrl, QPixmap> pictures_;
};

} // namespace brindle
