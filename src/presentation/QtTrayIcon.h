#pragma once

#include "presentation/TrayIcon.h"

#include <QSystemTrayIcon>

namespace brindle {

// The desktop's system tray; other activations than a click or a menu request are ignored.
class QtTrayIcon : public TrayIcon {
    Q_OBJECT
public:
    QtTrayIcon();
    bool isAvailable() const override;
    void setIcon(const QIcon& icon) override;
    void setText(const QString& text) override;
    void show() override;

private:
    QSystemTrayIcon icon_;
};

} // namespace brindle
