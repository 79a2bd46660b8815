#pragma once

#include "presentation/SceneView.h"

#include <QString>

class QWebEngineView;

namespace brindle {

// The scene view on Qt WebEngine: local pages only, no network, no other
// windows, no context menu and no scroll bars.
class WebEngineSceneView : public SceneView {
public:
    explicit WebEngineSceneView(QWidget* parent);
    QWidget* widget() override;
    void showPage(const QUrl& page, const QString& title) override;

private:
    QWebEngineView* view_;
    QString title_;
};

} // namespace brindle
