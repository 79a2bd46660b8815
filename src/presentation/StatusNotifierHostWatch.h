#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>

namespace brindle {

// Whether a panel shows StatusNotifierItems now: the watcher holds its name on
// the session bus and knows a host. A panel started or restarted after the
// program is seen as it comes, and one that ends as it goes.
class StatusNotifierHostWatch : public QObject {
    Q_OBJECT
public:
    explicit StatusNotifierHostWatch(QDBusConnection bus, QObject* parent = nullptr);

    bool present() const { return present_; }

signals:
    void presentChanged();

private slots:
    // Asks the watcher whether a host is registered.
    void look();

private:
    void setPresent(bool present);

    QDBusConnection bus_;
    QDBusServiceWatcher nameWatch_;
    bool present_ = false;
};

} // namespace brindle
