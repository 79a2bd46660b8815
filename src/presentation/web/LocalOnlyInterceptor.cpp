#include "presentation/web/LocalOnlyInterceptor.h"

namespace brindle {

void LocalOnlyInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QString scheme = info.requestUrl().scheme();
    if (scheme != QStringLiteral("file") && scheme != QStringLiteral("data")) {
        info.block(true);
    }
}

} // namespace brindle
