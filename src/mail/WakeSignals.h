#pragma once

#include <QObject>

namespace brindle {

// What the desktop tells of the machine's sleep and of its network. After
// either, a connection kept open (push) may be dead without knowing it.
class WakeSignals : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    // The machine woke after sleeping this long (0 where unknown).
    void woke(qint64 sleptSeconds);
    // The network reaches the internet again after it did not.
    void networkBack();
};

} // namespace brindle
