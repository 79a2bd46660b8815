#include "presentation/web/WebEngineSceneView.h"

#include "presentation/web/LocalPageView.h"
#include "ui/WidgetStyle.h"

#include <QGridLayout>

namespace brindle {

WebEngineSceneView::WebEngineSceneView(QWidget* parent)
    : area_(new QWidget(parent)), picture_(new QWidget(area_)) {
    auto* layout = new QGridLayout(area_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture_, 0, 0);
    picture_->hide();
    startLivePage();
}

WebEngineSceneView::~WebEngineSceneView() = default;

QWidget* WebEngineSceneView::widget() {
    return area_;
}

void WebEngineSceneView::showPage(const QUrl& page, const QString& title) {
    current_ = page;
    currentTitle_ = title;
    if (const auto known = pictures_.constFind(page); known != pictures_.constEnd()) {
        setBackground(picture_, *known);
    } else if (!live_) {
        drawOffScreen(page);
    }
    if (live_) {
        live_->showPage(page, title);
    }
}

void WebEngineSceneView::prepare(const QUrl& page) {
    prepared_.append(page);
}

void WebEngineSceneView::setSeen(bool seen) {
    if (seen == (live_ != nullptr)) {
        return;
    }
    if (seen) {
        startLivePage();
    } else {
        releaseLivePage();
    }
}

// Made below the picture, which stays until the page is drawn.
void WebEngineSceneView::startLivePage() {
    live_ = new LocalPageView(area_);
    static_cast<QGridLayout*>(area_->layout())->addWidget(live_, 0, 0);
    picture_->raise();
    QObject::connect(live_, &LocalPageView::drawn, area_, [this] {
        keepPicture(current_, live_->grab());
        picture_->hide();
    });
    if (!current_.isEmpty()) {
        live_->showPage(current_, currentTitle_);
    }
}

void WebEngineSceneView::releaseLivePage() {
    if (live_->isDrawn()) {
        keepPicture(current_, live_->grab());
    }
    picture_->show();
    picture_->raise();
    // Later, as this may run while the window is being hidden; silent till then.
    live_->blockSignals(true);
    live_->deleteLater();
    live_ = nullptr;
    for (const QUrl& page : QList<QUrl>{current_} + prepared_) {
        if (!pictures_.contains(page) && !page.isEmpty()) {
            drawOffScreen(page);
        }
    }
}

// One page after the other in a window sized as the view and never mapped on
// the screen, which goes once the last is drawn.
void WebEngineSceneView::drawOffScreen(const QUrl& page) {
    if (toDraw_.contains(page)) {
        return;
    }
    toDraw_.append(page);
    if (offScreen_) {
        return;
    }
    offScreen_ = std::make_unique<LocalPageView>(nullptr);
    offScreen_->setAttribute(Qt::WA_DontShowOnScreen);
    offScreen_->resize(area_->size());
    offScreen_->show();
    QObject::connect(offScreen_.get(), &LocalPageView::drawn, area_, [this] {
        keepPicture(toDraw_.takeFirst(), offScreen_->grab());
        if (toDraw_.isEmpty()) {
            offScreen_.release()->deleteLater();
        } else {
            offScreen_->showPage(toDraw_.first(), {});
        }
    });
    offScreen_->showPage(page, {});
}

void WebEngineSceneView::keepPicture(const QUrl& page, const QPixmap& picture) {
    pictures_.insert(page, picture);
    if (page == current_) {
        setBackground(picture_, picture);
    }
}

} // namespace brindle
