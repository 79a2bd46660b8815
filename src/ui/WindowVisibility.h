#pragma once

#include <QObject>

class QWidget;

namespace brindle {

// Tells whether a window can be seen: shown and not minimised. A window that
// has not been shown yet counts as seen, as it is about to be. Hide and show
// events also come when the window system unmaps and maps the window.
class WindowVisibility : public QObject {
    Q_OBJECT
public:
    explicit WindowVisibility(QWidget& window, QObject* parent = nullptr);

    bool isSeen() const { return seen_; }

signals:
    void seenChanged(bool seen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    bool shown_ = true;
    bool seen_ = true;
};

} // namespace brindle
