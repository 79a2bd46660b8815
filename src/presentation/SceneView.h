#pragma once

#include <QUrl>

class QWidget;

namespace brindle {

// The embedded view that shows the local scene pages.
class SceneView {
public:
    virtual ~SceneView() = default;
    virtual QWidget* widget() = 0;
    // Starts loading the page; nothing waits for it.
    virtual void showPage(const QUrl& page) = 0;
};

} // namespace brindle
