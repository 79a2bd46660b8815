#include "signin/BoundedNetworkAccess.h"

#include "mail/net/LocalEventLoop.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QTimer>

namespace brindle {

namespace {

constexpr char TooLarge[] = "brindleTooLarge";
constexpr char TooLate[] = "brindleTooLate";

QString serverText(const QNetworkReply& reply, const char* what) {
    return QCoreApplication::translate("brindle::SignIn", "認可サーバー (%1) %2")
        .arg(reply.url().host(), QCoreApplication::translate("brindle::SignIn", what));
}

} // namespace

BoundedNetworkAccess::BoundedNetworkAccess(int answerLimitMs, QObject* parent)
    : QNetworkAccessManager(parent), answerLimitMs_(answerLimitMs) {
    setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

QNetworkReply* BoundedNetworkAccess::createRequest(Operation op, const QNetworkRequest& request,
                                                   QIODevice* outgoingData) {
    QNetworkRequest bounded(request);
    bounded.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = QNetworkAccessManager::createRequest(op, bounded, outgoingData);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > MaxBodyBytes || total > MaxBodyBytes) {
            reply->setProperty(TooLarge, true);
            reply->abort();
        }
    });
    QTimer::singleShot(answerLimitMs_, reply, [reply] {
        reply->setProperty(TooLate, true);
        reply->abort();
    });
    if (!isAllowedEndpoint(request.url())) {
        QTimer::singleShot(0, reply, &QNetworkReply::abort);
    }
    return reply;
}

std::variant<JsonReply, QString> BoundedNetworkAccess::read(QNetworkReply& reply) {
    QEventLoop loop;
    connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    runEventLoopUntil(loop, [&reply] { return reply.isFinished(); });

    if (reply.property(TooLarge).toBool()) {
        return serverText(reply, QT_TRANSLATE_NOOP("brindle::SignIn", "の応答が大きすぎます。"));
    }
    if (reply.property(TooLate).toBool()) {
        return serverText(reply,
                          QT_TRANSLATE_NOOP("brindle::SignIn", "が時間内に応答しませんでした。"));
    }
    const int status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 0) {
        return serverText(reply, QT_TRANSLATE_NOOP("brindle::SignIn", "に接続できませんでした。"));
    }
    if (status >= 300 && status < 400) {
        return serverText(
            reply, QT_TRANSLATE_NOOP("brindle::SignIn", "が別の場所へ転送しようとしました。"));
    }
    const QJsonDocument document = QJsonDocument::fromJson(reply.peek(MaxBodyBytes));
    if (!document.isObject()) {
        return serverText(reply, QT_TRANSLATE_NOOP("brindle::SignIn", "の応答が読めません。"));
    }
    return JsonReply{status, document.object()};
}

std::variant<JsonReply, QString> BoundedNetworkAccess::get(const QUrl& address) {
    return exchange(address, [this](const QNetworkRequest& request) {
        return QNetworkAccessManager::get(request);
    });
}

std::variant<JsonReply, QString> BoundedNetworkAccess::postForm(const QUrl& address,
                                                                const QByteArray& form) {
    return exchange(address, [this, &form](QNetworkRequest request) {
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QStringLiteral("application/x-www-form-urlencoded"));
        return post(request, form);
    });
}

std::variant<JsonReply, QString> BoundedNetworkAccess::postJson(const QUrl& address,
                                                                const QJsonObject& body) {
    return exchange(address, [this, &body](QNetworkRequest request) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        return post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
    });
}

std::variant<JsonReply, QString>
BoundedNetworkAccess::exchange(const QUrl& address,
                               const std::function<QNetworkReply*(const QNetworkRequest&)>& send) {
    if (!isAllowedEndpoint(address)) {
        return QCoreApplication::translate(
                   "brindle::SignIn", "認可サーバーのアドレス (%1) は https でないため使えません。")
            .arg(address.toDisplayString());
    }
    QNetworkRequest request(address);
    request.setRawHeader("Accept", "application/json");
    std::unique_ptr<QNetworkReply> reply(send(request));
    return read(*reply);
}

} // namespace brindle
