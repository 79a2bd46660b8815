#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace brindle {

// The desktop's own notifications.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Shows a notice of a summary and lines of plain text in place of the
    // notice `replacing` (0: none); a click on it is reported where the
    // desktop takes clicks. Its id, or 0 when no notification server took it.
    virtual uint show(uint replacing, const QString& summary, const QStringList& lines) = 0;
    virtual void close(uint id) = 0;

signals:
    void clicked(uint id);
    // Closed by the user, by the server or on request.
    void closed(uint id);
};

} // namespace brindle
