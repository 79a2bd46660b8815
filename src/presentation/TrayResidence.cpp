#include "presentation/TrayResidence.h"

#include "ui/MessageBoxes.h"

#include <QCursor>
#include <QDateTime>
#include <QLocale>
#include <QMenu>
#include <QWidget>

namespace brindle {

TrayResidence::TrayResidence(QWidget& window, TrayIcon& tray, MessageBoxes& messageBoxes)
    : window_(window), tray_(tray), messageBoxes_(messageBoxes) {
    // The menu never appears on the menu bar.
    menu = new QMenu(QStringLiteral("popup"), &window);
    showWindowAction = menu->addAction(QStringLiteral("メイン画面を表示"));
    menu->addSeparator();
    quitAction = menu->addAction(QStringLiteral("終了"));
    connect(&tray_, &TrayIcon::activated, this, &TrayResidence::onTrayActivated);
}

void TrayResidence::moveToTray() {
    if (!tray_.isAvailable()) {
        window_.showMinimized();
        return;
    }
    tray_.setIcon(window_.windowIcon());
    tray_.setText(QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
    tray_.show();
    window_.hide();
}

void TrayResidence::onTrayActivated(TrayIcon::Activation reason) {
    if (reason == TrayIcon::Activation::Click) {
        messageBoxes_.show(QStringLiteral("Clicked!"), QStringLiteral("Brindle"),
                           MessageBoxes::Icon::Exclamation, MessageBoxes::Buttons::Ok);
    } else {
        menu->exec(QCursor::pos());
    }
}

} // namespace brindle
