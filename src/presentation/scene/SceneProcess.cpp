#include "presentation/scene/SceneProcess.h"

#include <QTimer>
#include <chrono>

namespace brindle {

namespace {

// How long a scene program asked to end may take before it is killed.
constexpr std::chrono::seconds EndLimit{5};

} // namespace

SceneProcess::SceneProcess(QString program, QObject* parent)
    : QObject(parent), program_(std::move(program)) {}

SceneProcess::~SceneProcess() {
    end();
}

void SceneProcess::start(WId window, QSize size) {
    if (running_) {
        return;
    }
    running_ = new QProcess(this);
    reader_ = SceneMessageReader();
    // Its warnings go where the program's own go.
    running_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(running_, &QProcess::readyReadStandardOutput, this, &SceneProcess::readMessages);
    connect(running_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            fail("could not be started");
        }
    });
    connect(running_, &QProcess::finished, this, [this] { fail("ended"); });
    running_->start(program_, {QString::number(window), QString::number(size.width()),
                               QString::number(size.height())});
}

void SceneProcess::show(const QUrl& page, const QString& title) {
    send(SceneMessage::show(page, title).toBytes());
}

void SceneProcess::draw(const QUrl& page) {
    send(SceneMessage::draw(page).toBytes());
}

// Its input closed, the program ends by itself; the process goes once it has.
void SceneProcess::end() {
    if (!running_) {
        return;
    }
    QProcess* ending = running_;
    running_ = nullptr;
    ending->disconnect(this);
    connect(ending, &QProcess::finished, ending, &QObject::deleteLater);
    QTimer::singleShot(EndLimit, ending, &QProcess::kill);
    ending->closeWriteChannel();
}

void SceneProcess::send(const QByteArray& bytes) {
    if (running_) {
        running_->write(bytes);
    }
}

void SceneProcess::readMessages() {
    if (!running_) {
        return;
    }
    reader_.feed(running_->readAllStandardOutput());
    SceneMessage message;
    SceneMessageReader::Result result = SceneMessageReader::Result::NeedMore;
    while (running_ && (result = reader_.take(message)) == SceneMessageReader::Result::Taken) {
        takeMessage(message);
    }
    if (running_ && result == SceneMessageReader::Result::Broken) {
        running_->kill();
        fail("broke the protocol and was ended");
    }
}

void SceneProcess::takeMessage(const SceneMessage& message) {
    switch (message.kind) {
    case SceneMessage::Kind::Picture:
        emit pictureTaken(message.page,
                          QImage(reinterpret_cast<const uchar*>(message.pixels.constData()),
                                 message.size.width(), message.size.height(), QImage::Format_RGB32)
                              .copy());
        break;
    case SceneMessage::Kind::Shown:
        emit shown(message.page);
        break;
    case SceneMessage::Kind::Show:
    case SceneMessage::Kind::Draw:
        running_->kill();
        fail("broke the protocol and was ended");
        break;
    }
}

void SceneProcess::fail(const char* what) {
    if (!running_) {
        return;
    }
    qWarning("The scene program %s %s; the scene shows its last picture.", qUtf8Printable(program_),
             what);
    QProcess* failed = running_;
    running_ = nullptr;
    failed->disconnect(this);
    failed->deleteLater();
    emit this->failed();
}

} // namespace brindle
