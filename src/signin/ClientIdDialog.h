#pragma once

#include "signin/ClientIdPrompt.h"

class QWidget;

namespace brindle {

// A small modal window that asks for the client ID and secret the user
// registered at the provider; it belongs to the given window, else to the
// active one.
class ClientIdDialog : public ClientIdPrompt {
public:
    explicit ClientIdDialog(QWidget* parent = nullptr) : parent_(parent) {}
    std::optional<OAuthClient> ask(const QString& providerName,
                                   const OAuthClient& previous) override;

private:
    QWidget* parent_;
};

} // namespace brindle
