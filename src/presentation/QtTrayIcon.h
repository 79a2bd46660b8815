#pragma once

#include "presentation/StatusNotifierHostWatch.h"
#include "presentation/TrayIcon.h"
#include "presentation/XEmbedTrayWatch.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <memory>

namespace brindle {

// The desktop's system tray through Qt; activations other than a click are
// the tray's own (its menu). Qt settles once per run, when its first tray
// icon is made, whether it speaks StatusNotifierItem or XEmbed, so the icon
// is made only when it is first shown, in a tray that is there by then, and
// stays with that kind of tray.
class QtTrayIcon : public TrayIcon {
    Q_OBJECT
public:
    QtTrayIcon();
    ~QtTrayIcon() override;
    bool isAvailable() const override;
    void setIcon(const QIcon& icon) override;
    void setText(const QString& text) override;
    void setMenu(QMenu* menu) override;
    void show() override;

private:
    enum class Kind { NotYetMade, StatusNotifier, XEmbed };
    void trayChanged();

    StatusNotifierHostWatch statusNotifierHost_;
    XEmbedTrayWatch xembedTray_;
    Kind kind_ = Kind::NotYetMade;
    bool wasAvailable_ = false;
    // The tray went away since the icon was last shown.
    bool lostTray_ = false;
    QIcon image_;
    QString text_;
    QPointer<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

} // namespace brindle
