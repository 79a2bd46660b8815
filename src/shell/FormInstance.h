#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

namespace brindle {

// The lifetime of a window that is created on first use: reading or writing
// the window or any control of it creates it hidden and runs its load handler
// first; closing it destroys it, and the next use creates it again.
template <class F> class FormInstance {
public:
    using Factory = std::function<F*()>;

    explicit FormInstance(Factory create) : create_(std::move(create)) {}
    FormInstance(const FormInstance&) = delete;
    FormInstance& operator=(const FormInstance&) = delete;
    ~FormInstance() { delete form_.data(); }

    bool exists() const { return !form_.isNull(); }

    F& get() {
        if (form_.isNull()) {
            F* form = create_();
            form_ = form;
            QObject::connect(form, &F::unloaded, form, [this, form] {
                if (form_ == form) {
                    form_.clear();
                }
                form->deleteLater();
            });
            form->Form_Load();
        }
        return *form_;
    }

    F* operator->() { return &get(); }

    // Shows the window modeless (creating it first when needed) and brings it forward.
    void Show() {
        F& form = get();
        form.show();
        form.raise();
        form.activateWindow();
    }

    // Closes the window the way its close box does, when it exists.
    void Close() {
        if (!form_.isNull()) {
            form_->close();
        }
    }

private:
    Factory create_;
    QPointer<F> form_;
};

} // namespace brindle
