#include "mail/net/HostLookup.h"

#include "mail/net/LocalEventLoop.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QTimer>
#include <algorithm>

namespace brindle {

std::optional<QList<QHostAddress>> HostLookup::lookUp(const QString& host, int timeoutMs) {
    QEventLoop loop;
    std::optional<QHostInfo> answer;
    // The answer is dropped with the loop's connection if it comes after the time-out.
    const int id = QHostInfo::lookupHost(host, &loop, [&](const QHostInfo& info) {
        answer = info;
        loop.quit();
    });
    QTimer timeout;
    timeout.setSingleShot(true);
    timeout.setTimerType(Qt::PreciseTimer);
    bool timedOut = false;
    QObject::connect(&timeout, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        loop.quit();
    });
    timeout.start(std::max(timeoutMs, 0));
    runEventLoopUntil(loop, [&] { return answer || timedOut; });
    if (!answer) {
        QHostInfo::abortHostLookup(id);
        errorText_ = tr("サーバー %1 の名前を %2 秒以内に引けませんでした")
                         .arg(host)
                         .arg(timeoutMs / 1000.0);
        return std::nullopt;
    }
    if (answer->error() != QHostInfo::NoError || answer->addresses().isEmpty()) {
        errorText_ = tr("サーバー %1 が見つかりません").arg(host);
        return std::nullopt;
    }
    return answer->addresses();
}

} // namespace brindle
