#pragma once

#include "presentation/TrayIcon.h"

#include <QSystemTrayIcon>

namespace brindle {

// The desktop's system tray: a left click is code 0, the context request code 1.
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
