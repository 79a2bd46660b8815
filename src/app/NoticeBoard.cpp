#include "app/NoticeBoard.h"

#include "ui/Twips.h"
#include "ui/WidgetStyle.h"
#include "ui/WindowStacking.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QLineEdit>

namespace brindle {

namespace {

QAccessibleInterface* boardAsAlert(const QString& className, QObject* object) {
    if (className == QLatin1String(NoticeBoard::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    }
    return nullptr;
}

QLineEdit* makeBorderlessBox(QWidget* parent, QRect place, Qt::Alignment alignment) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(place);
    box->setFrame(false);
    box->setAlignment(alignment);
    return box;
}

} // namespace

NoticeBoard::NoticeBoard(WindowStacking& stacking) : stacking_(stacking) {
    static const bool alertRoleInstalled = (QAccessible::installFactory(boardAsAlert), true);
    Q_UNUSED(alertRoleInstalled);
    // The window manager gives it no focus when it maps; appear() asks for
    // the focus itself when the program is the one in use.
    setAttribute(Qt::WA_ShowWithoutActivating);
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

void NoticeBoard::resizeEvent(QResizeEvent* event) {
    Window::resizeEvent(event);
    const int lineHeight = height() > twips(285) ? height() : twips(270);
    for (QLineEdit* box : {noticeText, countText}) {
        box->resize(box->width(), lineHeight);
    }
}

void NoticeBoard::showNotice(const QString& text, int count) {
    noticeText->setText(text);
    countText->setText(QString::number(count));
}

void NoticeBoard::appear() {
    const bool programInUse = QGuiApplication::applicationState() == Qt::ApplicationActive;
    show();
    raise();
    countText->setFocus();
    if (programInUse) {
        activateWindow();
    }
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

} // namespace brindle
