#include "signin/BoundedNetworkAccess.h"

#include "mail/net/HostLookup.h"
#include "mail/net/LocalEventLoop.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QTimer>
#include <algorithm>

namespace brindle {

namespace {

enum class Cut { None, TooLarge, TooLate };

QString serverText(const QUrl& address, const char* what) {
    return QCoreApplication::translate("brindle::SignIn", "認可サーバー (%1) %2")
        .arg(address.host(), QCoreApplication::translate("brindle::SignIn", what));
}

} // namespace

BoundedNetworkAccess::BoundedNetworkAccess(AddressReach reach, int answerLimitMs)
    : reach_(reach), answerLimitMs_(answerLimitMs) {
    network_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

std::variant<JsonReply, QString> BoundedNetworkAccess::get(const QUrl& address) {
    return exchange(address,
                    [this](const QNetworkRequest& request) { return network_.get(request); });
}

std::variant<JsonReply, QString> BoundedNetworkAccess::postForm(const QUrl& address,
                                                                const QByteArray& form) {
    return exchange(address, [this, &form](QNetworkRequest request) {
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QStringLiteral("application/x-www-form-urlencoded"));
        return network_.post(request, form);
    });
}

std::variant<JsonReply, QString> BoundedNetworkAccess::postJson(const QUrl& address,
                                                                const QJsonObject& body) {
    return exchange(address, [this, &body](QNetworkRequest request) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        return network_.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
    });
}

// Qt looks the host up again for the request, from the cache this look-up
// fills, so the checked addresses are the ones asked.
QString BoundedNetworkAccess::whyNotReachable(const QUrl& address) {
    const QString refused =
        QCoreApplication::translate("brindle::SignIn",
                                    "認可サーバーのアドレス (%1) は使えません。"
                                    "インターネット上の https のアドレスでなければなりません。")
            .arg(address.toDisplayString());
    if (!isAllowedEndpoint(address, reach_)) {
        return refused;
    }
    if (reach_ == AddressReach::LocalToo || !QHostAddress(address.host()).isNull()) {
        return {};
    }
    HostLookup lookup;
    const auto addresses = lookup.lookUp(address.host(), answerLimitMs_);
    if (!addresses) {
        return lookup.errorText();
    }
    return std::all_of(addresses->begin(), addresses->end(), isPublicAddress) ? QString() : refused;
}

std::variant<JsonReply, QString>
BoundedNetworkAccess::exchange(const QUrl& address,
                               const std::function<QNetworkReply*(const QNetworkRequest&)>& send) {
    if (const QString why = whyNotReachable(address); !why.isEmpty()) {
        return why;
    }
    QNetworkRequest request(address);
    request.setRawHeader("Accept", "application/json");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    const std::unique_ptr<QNetworkReply> reply(send(request));
    // Qt stops reading from the server once this much waits unread.
    reply->setReadBufferSize(MaxBodyBytes + 1);

    Cut cut = Cut::None;
    QEventLoop loop;
    const auto stop = [&](Cut why) {
        cut = why;
        reply->abort();
    };
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, &loop, [&] {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MaxBodyBytes) {
            stop(Cut::TooLarge);
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        if (reply->bytesAvailable() > MaxBodyBytes) {
            stop(Cut::TooLarge);
        }
    });
    QTimer::singleShot(answerLimitMs_, &loop, [&] { stop(Cut::TooLate); });
    runEventLoopUntil(loop, [&] { return reply->isFinished(); });

    if (cut == Cut::TooLarge) {
        return serverText(address, QT_TRANSLATE_NOOP("brindle::SignIn", "の応答が大きすぎます。"));
    }
    if (cut == Cut::TooLate) {
        return serverText(address,
                          QT_TRANSLATE_NOOP("brindle::SignIn", "が時間内に応答しませんでした。"));
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 0) {
        return serverText(address,
                          QT_TRANSLATE_NOOP("brindle::SignIn", "に接続できませんでした。"));
    }
    if (status >= 300 && status < 400) {
        return serverText(
            address, QT_TRANSLATE_NOOP("brindle::SignIn", "が別の場所へ転送しようとしました。"));
    }
    const QJsonDocument document = QJsonDocument::fromJson(reply->read(MaxBodyBytes));
    if (!document.isObject()) {
        return serverText(address, QT_TRANSLATE_NOOP("brindle::SignIn", "の応答が読めません。"));
    }
    return JsonReply{status, document.object()};
}

} // namespace brindle
