#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QUrl>
#include <QWindow>
#include <memory>

namespace brindle {

class LocalPageView;

// The pages of the scene program: the live page in the program's scene
// window, and pages drawn off the screen one after the other for their
// pictures. It tells of each page drawn, with its picture.
class ScenePages : public QObject {
    Q_OBJECT
public:
    // The program's window the live page is drawn in, and its size.
    ScenePages(WId sceneWindow, QSize size);
    ~ScenePages() override;

    void show(const QUrl& page, const QString& title);
    void draw(const QUrl& page);

signals:
    void pictureTaken(const QUrl& page, const QImage& picture);
    void shown(const QUrl& page);

private:
    void startLivePage();
    void startDrawing();

    std::unique_ptr<QWindow> sceneWindow_;
    QSize size_;
    std::unique_ptr<LocalPageView> live_;
    QUrl livePage_;
    std::unique_ptr<LocalPageView> offScreen_;
    QList<QUrl> toDraw_; // the first is being drawn off the screen
};

} // namespace brindle
