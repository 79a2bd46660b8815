#include "presentation/web/LocalPageView.h"

#include "presentation/web/LocalOnlyInterceptor.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPixmap>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace brindle {

namespace {

constexpr std::chrono::milliseconds LookInterval{20};
// A page of one colour, or the page before shown again, never looks drawn: it
// counts as drawn after 3 s.
constexpr int MostLooks = 150;

// Until the engine has drawn its first frame the view shows one colour.
bool oneColour(const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixel(x, y) != picture.pixel(0, 0)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

LocalPageView::LocalPageView(QWidget* parent)
    : QWebEngineView(parent), profile_(new QWebEngineProfile(this)),
      page_(new QWebEnginePage(profile_, this)) {
    profile_->setUrlRequestInterceptor(new LocalOnlyInterceptor(profile_));
    QWebEngineSettings* settings = page_->settings();
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    setPage(page_);
    setContextMenuPolicy(Qt::NoContextMenu);
    setFocusPolicy(Qt::NoFocus);
    looks_.setInterval(LookInterval);
    connect(&looks_, &QTimer::timeout, this, &LocalPageView::lookForPage);
    connect(page_, &QWebEnginePage::loadFinished, this, &LocalPageView::startLooking);
    // The page's own title names a file; its document takes the scene's name.
    connect(page_, &QWebEnginePage::loadFinished, this, [this] {
        if (title_.isEmpty()) {
            return;
        }
        const QByteArray title = QJsonDocument(QJsonArray{title_}).toJson(QJsonDocument::Compact);
        page_->runJavaScript(
            QStringLiteral("document.title = %1[0];").arg(QString::fromUtf8(title)));
    });
}

// The engine wants the page gone before its profile.
LocalPageView::~LocalPageView() {
    delete page_;
}

void LocalPageView::showPage(const QUrl& page, const QString& title) {
    title_ = title;
    drawn_ = false;
    looks_.stop();
    shownBefore_ = grab().toImage();
    load(page);
}

void LocalPageView::startLooking(bool) {
    looksLeft_ = MostLooks;
    looks_.start();
}

// The page's first frame reaches the view a little after it has loaded, and
// until then the view shows one colour or the page before.
void LocalPageView::lookForPage() {
    const QImage shown = grab().toImage();
    if ((!oneColour(shown) && shown != shownBefore_) || --looksLeft_ <= 0) {
        looks_.stop();
        drawn_ = true;
        emit drawn();
    }
}

} // namespace brindle
