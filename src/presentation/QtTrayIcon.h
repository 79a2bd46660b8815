#pragma once

#include "presentation/TrayIcon.h"

#include <QSystemTrayIcon>

namespace brindle {

// The desktop's system tray; activations other than a click are the tray's own (its menu).
class QtTrayIcon : public TrayIcon {
    Q_OBJECT
public:
    QtTrayIcon();
    bool isAvailable() const override;
    void setIcon(const QIcon& icon) override;
    void setText(const QString& text) override;
    void setMenu(QMenu* menu) override;
    void show() override;

private:
    QSystemTrayIcon icon_;
};

} // namespace brindle
