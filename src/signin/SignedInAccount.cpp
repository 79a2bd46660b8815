#include "signin/SignedInAccount.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace brindle {

QByteArray SignedInAccount::toSecret() const {
    QJsonObject object{{QStringLiteral("refresh_token"), refreshToken},
                       {QStringLiteral("access_token"), accessToken},
                       {QStringLiteral("token_endpoint"), tokenEndpoint.toString()},
                       {QStringLiteral("client_id"), client.id},
                       {QStringLiteral("client_secret"), client.secret}};
    if (!revocationEndpoint.isEmpty()) {
        object.insert(QStringLiteral("revocation_endpoint"), revocationEndpoint.toString());
    }
    if (accessExpiry.isValid()) {
        object.insert(QStringLiteral("expires_at"), accessExpiry.toSecsSinceEpoch());
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<SignedInAccount> SignedInAccount::fromSecret(const QByteArray& secret) {
    const QJsonObject object = QJsonDocument::fromJson(secret).object();
    SignedInAccount account;
    account.refreshToken = object.value(QStringLiteral("refresh_token")).toString();
    account.accessToken = object.value(QStringLiteral("access_token")).toString();
    account.tokenEndpoint = QUrl(object.value(QStringLiteral("token_endpoint")).toString());
    account.revocationEndpoint =
        QUrl(object.value(QStringLiteral("revocation_endpoint")).toString());
    account.client = {object.value(QStringLiteral("client_id")).toString(),
                      object.value(QStringLiteral("client_secret")).toString()};
    if (object.contains(QStringLiteral("expires_at"))) {
        account.accessExpiry =
            QDateTime::fromSecsSinceEpoch(object.value(QStringLiteral("expires_at")).toInteger());
    }
    if (account.accessToken.isEmpty() || !account.tokenEndpoint.isValid()) {
        return std::nullopt;
    }
    return account;
}

QString SignedInAccount::keyFor(const QString& server, const QString& id) {
    return QStringLiteral("%1 %2").arg(server, id);
}

} // namespace brindle
