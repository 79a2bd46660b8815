#include "support/AuthorizationServer.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace brindle::test {

namespace {

constexpr int startLimitMs = 10000;
constexpr int requestLimitMs = 5000;

} // namespace

AuthorizationServer::AuthorizationServer() = default;

AuthorizationServer::~AuthorizationServer() {
    if (process_.state() != QProcess::NotRunning) {
        process_.closeWriteChannel();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
}

bool AuthorizationServer::start() {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(BRINDLE_TEST_SUPPORT_DIR "/authorization_server.py"),
                    QString::fromLatin1(user)});
    if (!process_.waitForStarted(startLimitMs)) {
        return false;
    }
    while (!process_.canReadLine() && process_.waitForReadyRead(startLimitMs)) {
    }
    const QByteArray line = process_.readLine().trimmed();
    bool ok = false;
    port_ = line.startsWith("port ") ? quint16(line.mid(5).toUInt(&ok)) : 0;
    return ok && port_ != 0;
}

QString AuthorizationServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

QJsonObject AuthorizationServer::issueTokens() {
    return call(QStringLiteral("/test/issue"), QUrlQuery{{QStringLiteral("scope"), "mail"}});
}

void AuthorizationServer::setLifetime(int seconds) {
    call(QStringLiteral("/test/lifetime"),
         QUrlQuery{{QStringLiteral("seconds"), QString::number(seconds)}});
}

void AuthorizationServer::rotate(bool on) {
    call(QStringLiteral("/test/rotate"), QUrlQuery{{QStringLiteral("on"), on ? "1" : "0"}});
}

void AuthorizationServer::revoke(const QString& refreshToken) {
    QUrlQuery form{{QStringLiteral("all"), QStringLiteral("1")}};
    if (!refreshToken.isEmpty()) {
        form = QUrlQuery{{QStringLiteral("refresh_token"), refreshToken}};
    }
    call(QStringLiteral("/test/revoke"), form);
}

int AuthorizationServer::count(const QString& endpoint) {
    return call(QStringLiteral("/test/counts")).value(endpoint).toInt(-1);
}

QJsonObject AuthorizationServer::call(const QString& path, const QUrlQuery& form) {
    QNetworkAccessManager network;
    QNetworkRequest request{QUrl(url(path))};
    QNetworkReply* reply = nullptr;
    if (form.isEmpty()) {
        reply = network.get(request);
    } else {
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QStringLiteral("application/x-www-form-urlencoded"));
        reply = network.post(request, form.toString(QUrl::FullyEncoded).toUtf8());
    }
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(requestLimitMs, &loop, &QEventLoop::quit);
    loop.exec();
    const QJsonObject answer =
        reply->isFinished() ? QJsonDocument::fromJson(reply->readAll()).object() : QJsonObject();
    reply->deleteLater();
    return answer;
}

} // namespace brindle::test
