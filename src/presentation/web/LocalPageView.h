#pragma once

#include <QImage>
#include <QTimer>
#include <QWebEngineView>

class QWebEnginePage;
class QWebEngineProfile;

namespace brindle {

// A web view of local pages on an off-the-record profile of its own, so that
// deleting the view lets go of the page, its renderer and its profile: no
// network, no other windows, no context menu and no scroll bars. It tells when
// the page asked for last has been drawn.
class LocalPageView : public QWebEngineView {
    Q_OBJECT
public:
    explicit LocalPageView(QWidget* parent);
    ~LocalPageView() override;

    // Screen readers know the page's document by the title.
    void showPage(const QUrl& page, const QString& title);
    bool isDrawn() const { return drawn_; }

signals:
    void drawn();

private:
    void startLooking(bool loaded);
    void lookForPage();

    QWebEngineProfile* profile_;
    QWebEnginePage* page_;
    QImage shownBefore_;
    QString title_;
    QTimer looks_;
    int looksLeft_ = 0;
    bool drawn_ = false;
};

} // namespace brindle
