#include "mail/net/BearerSasl.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <algorithm>

namespace brindle {

namespace {

// A saslname (RFC 5801): "," and "=" written as "=2C" and "=3D".
QByteArray saslName(const QByteArray& text) {
    QByteArray escaped = text;
    return escaped.replace('=', "=3D").replace(',', "=2C");
}

} // namespace

std::optional<BearerSasl::Mechanism> BearerSasl::choose(const QSet<QByteArray>& offered) {
    for (const Mechanism mechanism : {Mechanism::OAuthBearer, Mechanism::XOAuth2}) {
        for (const QByteArray& name : offered) {
            if (name.compare(BearerSasl::name(mechanism), Qt::CaseInsensitive) == 0) {
                return mechanism;
            }
        }
    }
    return std::nullopt;
}

QString BearerSasl::whyNotSent(const QSet<QByteArray>& offered, bool encrypted) {
    if (!encrypted) {
        return tr("OAuth 2.0 のトークンは暗号化されていない接続では送れません"
                  " (pop3s://、imaps:// などの暗号化された接続を使ってください)");
    }
    if (!choose(offered)) {
        return tr("サーバーが OAuth 2.0 でのログイン (OAUTHBEARER、XOAUTH2) を"
                  "受け付けていません");
    }
    return {};
}

QByteArray BearerSasl::name(Mechanism mechanism) {
    return mechanism == Mechanism::OAuthBearer ? "OAUTHBEARER" : "XOAUTH2";
}

QByteArray BearerSasl::initialResponse(Mechanism mechanism, const QByteArray& id,
                                       const QByteArray& token, const QString& host, quint16 port) {
    if (mechanism == Mechanism::XOAuth2) {
        return "user=" + id +
               "\x01"
               "auth=Bearer " +
               token + "\x01\x01";
    }
    return "n,a=" + saslName(id) +
           ",\x01"
           "host=" +
           host.toUtf8() +
           "\x01"
           "port=" +
           QByteArray::number(port) +
           "\x01"
           "auth=Bearer " +
           token + "\x01\x01";
}

QByteArray BearerSasl::refusalAnswer(Mechanism mechanism) {
    return mechanism == Mechanism::OAuthBearer ? QByteArray("\x01") : QByteArray();
}

BearerSasl::Refusal BearerSasl::readRefusal(QByteArrayView challenge) {
    Refusal refusal;
    if (challenge.size() > maxChallengeLength) {
        return refusal;
    }
    const auto decoded = QByteArray::fromBase64Encoding(challenge.toByteArray(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        return refusal;
    }
    const QJsonObject error = QJsonDocument::fromJson(*decoded).object();
    // The status is quoted to the user: a short word of printable ASCII.
    const QString status = error.value(QLatin1String("status")).toString();
    if (status.size() <= maxStatusLength &&
        std::all_of(status.cbegin(), status.cend(),
                    [](QChar c) { return c > u' ' && c <= u'~'; })) {
        refusal.status = status;
    }
    const QUrl url(error.value(QLatin1String("openid-configuration")).toString(), QUrl::StrictMode);
    const QString discovery = url.toString(QUrl::FullyEncoded);
    if (discovery.size() <= maxUrlLength && url.isValid() && !url.host().isEmpty() &&
        (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"))) {
        refusal.openidConfiguration = discovery;
    }
    return refusal;
}

} // namespace brindle
