#pragma once

#include "presentation/SceneView.h"

class QWebEngineView;

namespace brindle {

// The scene view on Qt WebEngine: local pages only, no network, no other
// windows, no context menu and no scroll bars.
class WebEngineSceneView : public SceneView {
public:
    explicit WebEngineSceneView(QWidget* parent);
    QWidget* widget() override;
    void showPage(const QUrl& page) override;

private:
    QWebEngineView* view_;
};

} // namespace brindle
