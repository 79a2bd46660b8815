#pragma once

#include "signin/SignInPrompts.h"

class QWidget;

namespace brindle {

// The sign-in's questions as small modal windows; they belong to the given
// window, else to the active one.
class SignInPromptWindows : public SignInPrompts {
public:
    explicit SignInPromptWindows(QWidget* parent = nullptr) : parent_(parent) {}
    bool trustAuthorizationServer(const QString& authorizationHost,
                                  const QString& mailHost) override;
    std::optional<OAuthClient> askClientId(const QString& authorizationServer,
                                           const QString& mailHost,
                                           const OAuthClient& previous) override;

private:
    // Above the window that asked (the account dialog), which the main
    // window, kept in front, does not cover.
    QWidget* owner() const;

    QWidget* parent_;
};

} // namespace brindle
