#include "app/NoticeBoard.h"

#include "ui/Twips.h"
#include "ui/WidgetStyle.h"
#include "ui/WindowStacking.h"

#include <QLineEdit>

namespace brindle {

namespace {

QLineEdit* makeBorderlessBox(QWidget* parent, QRect place, Qt::Alignment alignment) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(place);
    box->setFrame(false);
    box->setAlignment(alignment);
    return box;
}

} // namespace

NoticeBoard::NoticeBoard(WindowStacking& stacking) : stacking_(stacking) {
    setFixedWindow(this, tr("新着お知らせボード"), 3600, 285, true);
    noticeText = makeBorderlessBox(this, twipsRect(0, 0, 3135, 270), Qt::AlignCenter);
    noticeText->setText(tr("新着メールがあります。"));
    setTextColour(noticeText, QColor(0, 0, 255));
    noticeText->setAccessibleName(tr("お知らせ"));
    countText = makeBorderlessBox(this, twipsRect(3120, 0, 495, 270), Qt::AlignRight);
    countText->setAccessibleName(tr("新着メールの数"));
    setTabOrder(noticeText, countText);
}

void NoticeBoard::prepare() {
    stacking_.setTopmost(*this, true);
}

// Focused as it appears, so that a screen reader reads the count at once.
void NoticeBoard::showEvent(QShowEvent* event) {
    Window::showEvent(event);
    activateWindow();
    countText->setFocus();
}

void NoticeBoard::showNotice(const QString& text, int count) {
    noticeText->setText(text);
    countText->setText(QString::number(count));
}

} // namespace brindle
