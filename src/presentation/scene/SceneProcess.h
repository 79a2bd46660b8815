#pragma once

#include "presentation/scene/SceneMessageReader.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QUrl>
#include <QWindow>

namespace brindle {

// The scene program, which alone holds the web engine: started with the
// window the scene is drawn in, asked over its standard input what to show and
// draw, heard over its standard output. Each start is a process of its own; one
// asked to end gets its input closed and is killed if it has not ended in time.
class SceneProcess : public QObject {
    Q_OBJECT
public:
    explicit SceneProcess(QString program, QObject* parent = nullptr);
    ~SceneProcess() override;

    // The program draws its scene into this window, at this size in pixels.
    void start(WId window, QSize size);
    bool isRunning() const { return running_ != nullptr; }
    void show(const QUrl& page, const QString& title);
    void draw(const QUrl& page);
    void end();

signals:
    void pictureTaken(const QUrl& page, const QImage& picture);
    void shown(const QUrl& page);
    // It ended without being asked to, or could not start.
    void failed();

private:
    void send(const QByteArray& bytes);
    void readMessages();
    void takeMessage(const SceneMessage& message);
    void fail(const char* what);

    QString program_;
    QPointer<QProcess> running_;
    SceneMessageReader reader_;
};

} // namespace brindle
