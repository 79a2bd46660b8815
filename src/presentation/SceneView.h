#pragma once

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
    // While its window cannot be seen the view may let go of what draws the
    // page; seen again, it shows the page asked for last.
    virtual void setSeen(bool seen) = 0;
    // A page the view may be asked for while its window cannot be seen, kept
    // ready to be shown at once.
    virtual void prepare(const QUrl& page) = 0;
};

} // namespace brindle
