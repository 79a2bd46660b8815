#include "presentation/TrayResidence.h"

#include "presentation/TrayCountIcon.h"
#include "presentation/TrayIcon.h"
#include "ui/MessageBoxes.h"

#include <QDateTime>
#include <QLocale>
#include <QMenu>
#include <QWidget>

namespace brindle {

TrayResidence::TrayResidence(QWidget& window, TrayIcon& tray, MessageBoxes& messageBoxes)
    : window_(window), tray_(tray), messageBoxes_(messageBoxes) {
    // The menu never appears on the menu bar.
    menu = new QMenu(QStringLiteral("popup"), &window);
    showWindowAction = menu->addAction(tr("メイン画面を表示"));
    menu->addSeparator();
    quitAction = menu->addAction(tr("終了"));
    tray_.setMenu(menu);
    // Queued: a tray host that asked over D-Bus gets its answer before the box waits for the user.
    connect(&tray_, &TrayIcon::clicked, this, &TrayResidence::sayClicked, Qt::QueuedConnection);
    connect(&tray_, &TrayIcon::availabilityChanged, this, &TrayResidence::trayAvailabilityChanged);
}

void TrayResidence::moveToTray() {
    if (!tray_.isAvailable()) {
        tellNoTray();
        return;
    }
    movedAt_ = generalDateTime(QDateTime::currentDateTime());
    showOnIcon();
    tray_.show();
    window_.hide();
}

void TrayResidence::sayClicked() {
    messageBoxes_.show(tr("Clicked!"), QStringLiteral("Brindle"), MessageBoxes::Icon::Exclamation,
                       MessageBoxes::Buttons::Ok);
}

void TrayResidence::showMailCount(int count) {
    count_ = count;
    showOnIcon();
}

void TrayResidence::setMailboxLines(const QStringList& lines) {
    mailboxLines_ = lines;
    if (!movedAt_.isEmpty()) {
        showOnIcon();
    }
}

void TrayResidence::showOnIcon() {
    tray_.setIcon(TrayCountIcon::draw(window_.windowIcon(), count_));
    QStringList lines{movedAt_};
    if (count_ > 0) {
        lines.append(tr("新着メール: %1 通").arg(count_));
    }
    lines += mailboxLines_;
    lines.removeAll(QString());
    tray_.setText(lines.join(u'\n'));
}

void TrayResidence::tellNoTray() {
    if (toldNoTray_) {
        return;
    }
    toldNoTray_ = true;
    messageBoxes_.show(tr("このデスクトップにはシステムトレイがないため、ウィンドウはこのまま"
                          "表示しておきます。GNOME では拡張機能「AppIndicator and "
                          "KStatusNotifierItem Support」を入れるとトレイが使えます。"),
                       QStringLiteral("Brindle"), MessageBoxes::Icon::Information,
                       MessageBoxes::Buttons::Ok);
}

void TrayResidence::trayAvailabilityChanged(bool available) {
    if (!available && window_.isHidden()) {
        window_.show();
    }
}

// The short date and the short time with the seconds added after the
// minutes: the numeric form, whichever words a locale's long time uses.
QString TrayResidence::generalDateTime(const QDateTime& moment) {
    const QLocale locale;
    QString timeFormat = locale.timeFormat(QLocale::ShortFormat);
    const qsizetype minutes = timeFormat.indexOf(QLatin1String("mm"));
    if (minutes > 0 && !timeFormat.at(minutes - 1).isLetter()) {
        timeFormat.insert(minutes + 2, timeFormat.at(minutes - 1) + QStringLiteral("ss"));
    }
    return locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(moment.time(), timeFormat);
}

} // namespace brindle
