#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace brindle {

// The embedded view that shows the local scene pages.
class SceneView {
public:
    virtual ~SceneView() = default;
    virtual QWidget* widget() = 0;
    // Starts loading the page; nothing waits for it. Screen readers know the
    // page's document by the title given here.
    virtual void showPage(const QUrl& page, const QString& title) = 0;
};

} // namespace brindle
