#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace brindle {

// Blocks every request of the scene pages that would leave the machine.
class LocalOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

} // namespace brindle
