#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

namespace brindle {

// The lifetime of a window that is created on first use: reading or writing
// the window or any control of it creates it hidden and runs its prepare()
// first; closing it destroys it, and the next use creates it again.
template <class W> class OnDemandWindow {
public:
    using Factory = std::function<W*()>;

    explicit OnDemandWindow(Factory create) : create_(std::move(create)) {}
    OnDemandWindow(const OnDemandWindow&) = delete;
    OnDemandWindow& operator=(const OnDemandWindow&) = delete;
    ~OnDemandWindow() { delete window_.data(); }

    bool exists() const { return !window_.isNull(); }

    W& get() {
        if (window_.isNull()) {
            W* window = create_();
            window_ = window;
            QObject::connect(window, &W::closed, window, [this, window] {
                if (window_ == window) {
                    window_.clear();
                }
                window->deleteLater();
            });
            window->prepare();
        }
        return *window_;
    }

    W* operator->() { return &get(); }

    // Shows the window modeless (creating it first when needed) and brings it forward.
    void show() {
        W& window = get();
        window.show();
        window.raise();
        window.activateWindow();
    }

    // Closes the window the way its close box does, when it exists.
    void close() {
        if (!window_.isNull()) {
            window_->close();
        }
    }

private:
    Factory create_;
    QPointer<W> window_;
};

} // namespace brindle
