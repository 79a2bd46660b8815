#include "presentation/scene/SceneProgramView.h"

#include "ui/WidgetStyle.h"

#include <QGridLayout>
#include <QWidget>
#include <algorithm>
#include <chrono>

namespace brindle {

namespace {

// Hidden, how long the scene program may take for the pictures it was asked for.
constexpr std::chrono::seconds PicturesLimit{10};

} // namespace

SceneProgramView::SceneProgramView(QWidget* parent, const QString& program)
    : area_(new QWidget(parent)), programWindow_(new QWidget(area_)), picture_(new QWidget(area_)),
      program_(program) {
    auto* layout = new QGridLayout(area_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(programWindow_, 0, 0);
    layout->addWidget(picture_, 0, 0);
    // Windows of their own, so that the picture can lie over the other program's window.
    programWindow_->setAttribute(Qt::WA_NativeWindow);
    picture_->setAttribute(Qt::WA_NativeWindow);
    coverWithPicture();
    picturesLimit_.setSingleShot(true);
    picturesLimit_.setInterval(PicturesLimit);
    QObject::connect(&picturesLimit_, &QTimer::timeout, area_, [this] { program_.end(); });
    QObject::connect(
        &program_, &SceneProcess::pictureTaken, area_,
        [this](const QUrl& page, const QImage& picture) { keepPicture(page, picture); });
    QObject::connect(&program_, &SceneProcess::shown, area_, [this](const QUrl& page) {
        if (seen_ && page == current_) {
            picture_->hide();
        }
    });
    QObject::connect(&program_, &SceneProcess::failed, area_, [this] {
        failed_ = true;
        picturesLimit_.stop();
        coverWithPicture();
    });
}

QWidget* SceneProgramView::widget() {
    return area_;
}

void SceneProgramView::showPage(const QUrl& page, const QString& title) {
    current_ = page;
    currentTitle_ = title;
    showPictureOf(page);
    if (seen_) {
        startProgram();
        program_.show(page, title);
    } else {
        askForMissingPictures();
        endProgramOncePicturesAreKept();
    }
}

void SceneProgramView::prepare(const QUrl& page) {
    prepared_.append(page);
}

void SceneProgramView::setSeen(bool seen) {
    if (seen == seen_) {
        return;
    }
    seen_ = seen;
    if (seen) {
        failed_ = false;
        picturesLimit_.stop();
        startProgram();
        if (!current_.isEmpty()) {
            program_.show(current_, currentTitle_);
        }
    } else {
        coverWithPicture();
        askForMissingPictures();
        endProgramOncePicturesAreKept();
    }
}

// The picture covers the program's window until the program has drawn its page.
void SceneProgramView::startProgram() {
    if (program_.isRunning() || failed_) {
        return;
    }
    coverWithPicture();
    askedFor_.clear();
    program_.start(programWindow_->winId(), programWindow_->size());
}

// While the window cannot be seen: the pages it may come back with, the
// current one and the prepared ones, are drawn off the screen if they have no
// picture yet (drawn while it is seen, they would leave memory behind in the
// scene program).
void SceneProgramView::askForMissingPictures() {
    QList<QUrl> pages = prepared_;
    if (!current_.isEmpty()) {
        pages.append(current_);
    }
    for (const QUrl& page : pages) {
        if (pictures_.contains(page) || askedFor_.contains(page)) {
            continue;
        }
        startProgram();
        if (!program_.isRunning()) {
            return;
        }
        askedFor_.insert(page);
        program_.draw(page);
    }
}

void SceneProgramView::endProgramOncePicturesAreKept() {
    if (seen_) {
        return;
    }
    const auto kept = [this](const QUrl& page) { return pictures_.contains(page); };
    if (std::all_of(askedFor_.cbegin(), askedFor_.cend(), kept)) {
        picturesLimit_.stop();
        program_.end();
    } else if (!picturesLimit_.isActive()) {
        picturesLimit_.start();
    }
}

void SceneProgramView::keepPicture(const QUrl& page, const QImage& picture) {
    QPixmap kept = QPixmap::fromImage(picture);
    kept.setDevicePixelRatio(area_->devicePixelRatioF());
    pictures_.insert(page, kept);
    if (page == current_) {
        showPictureOf(page);
    }
    endProgramOncePicturesAreKept();
}

void SceneProgramView::coverWithPicture() {
    showPictureOf(current_);
    picture_->show();
    picture_->raise();
}

// A page without a picture yet shows as a blank page would.
void SceneProgramView::showPictureOf(const QUrl& page) {
    const auto known = pictures_.constFind(page);
    setBackground(picture_, known != pictures_.constEnd() ? QBrush(*known) : QBrush(Qt::white));
}

} // namespace brindle
