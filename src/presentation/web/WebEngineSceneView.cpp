#include "presentation/web/WebEngineSceneView.h"

#include "presentation/web/LocalOnlyInterceptor.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace brindle {

WebEngineSceneView::WebEngineSceneView(QWidget* parent) : view_(new QWebEngineView(parent)) {
    // A private, off-the-record profile: nothing is cached or stored on disk.
    auto* profile = new QWebEngineProfile(view_);
    profile->setUrlRequestInterceptor(new LocalOnlyInterceptor(profile));
    auto* page = new QWebEnginePage(profile, view_);
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    view_->setPage(page);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->setFocusPolicy(Qt::NoFocus);
    // The page's own title names a file; its document takes the scene's name.
    QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this] {
        const QByteArray title = QJsonDocument(QJsonArray{title_}).toJson(QJsonDocument::Compact);
        view_->page()->runJavaScript(
            QStringLiteral("document.title = %1[0];").arg(QString::fromUtf8(title)));
    });
}

QWidget* WebEngineSceneView::widget() {
    return view_;
}

void WebEngineSceneView::showPage(const QUrl& page, const QString& title) {
    title_ = title;
    view_->load(page);
}

} // namespace brindle
