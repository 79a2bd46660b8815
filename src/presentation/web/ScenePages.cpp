#include "presentation/web/ScenePages.h"

#include "presentation/web/LocalPageView.h"

namespace brindle {

ScenePages::ScenePages(WId sceneWindow, QSize size)
    : sceneWindow_(QWindow::fromWinId(sceneWindow)), size_(size) {}

// The views go before the program's window they may lie in.
ScenePages::~ScenePages() {
    live_.reset();
    offScreen_.reset();
}

void ScenePages::show(const QUrl& page, const QString& title) {
    if (!live_) {
        startLivePage();
    }
    livePage_ = page;
    live_->showPage(page, title);
}

void ScenePages::draw(const QUrl& page) {
    if (toDraw_.contains(page)) {
        return;
    }
    toDraw_.append(page);
    if (!offScreen_) {
        startDrawing();
    }
}

// A child window of the program's, which neither takes the keyboard nor the
// mouse: the scene is only seen.
void ScenePages::startLivePage() {
    live_ = std::make_unique<LocalPageView>(nullptr);
    live_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                          Qt::WindowDoesNotAcceptFocus);
    live_->winId();
    live_->windowHandle()->setParent(sceneWindow_.get());
    live_->setGeometry(QRect(QPoint(0, 0), size_));
    live_->show();
    connect(live_.get(), &LocalPageView::drawn, this, [this] {
        emit pictureTaken(livePage_, live_->grab().toImage());
        emit shown(livePage_);
    });
}

// In a window sized as the scene and never mapped on the screen, which goes
// once the last page is drawn.
void ScenePages::startDrawing() {
    offScreen_ = std::make_unique<LocalPageView>(nullptr);
    offScreen_->setAttribute(Qt::WA_DontShowOnScreen);
    offScreen_->resize(size_);
    offScreen_->show();
    connect(offScreen_.get(), &LocalPageView::drawn, this, [this] {
        emit pictureTaken(toDraw_.takeFirst(), offScreen_->grab().toImage());
        if (toDraw_.isEmpty()) {
            offScreen_.release()->deleteLater();
        } else {
            offScreen_->showPage(toDraw_.first(), {});
        }
    });
    offScreen_->showPage(toDraw_.first(), {});
}

} // namespace brindle
