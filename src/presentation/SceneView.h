#pragma once

#include <QString>

class QWidget;

namespace brindle {

// The embedded view that shows the local scene pages.
class SceneView {
public:
    virtual ~SceneView() = default;
    virtual QWidget* widget() = 0;
    // Starts loading the page; nothing waits for it.
    virtual void Navigate(const QString& address) = 0;
};

} // namespace brindle
