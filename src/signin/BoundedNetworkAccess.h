#pragma once

#include "signin/AuthorizationServerReplies.h"

#include <QNetworkAccessManager>
#include <functional>
#include <variant>

namespace brindle {

// Every request to an authorization server goes through here: no redirect is
// followed and an answer takes at most AnswerLimitMs and MaxBodyBytes.
class BoundedNetworkAccess : public QNetworkAccessManager {
    Q_OBJECT
public:
    static constexpr int AnswerLimitMs = 30'000;
    static constexpr qint64 MaxBodyBytes = 64 * 1024;

    explicit BoundedNetworkAccess(int answerLimitMs = AnswerLimitMs, QObject* parent = nullptr);

    // Waits for a reply and reads it, or says why not in words for the user.
    // The body stays in the reply, for whoever else reads it.
    static std::variant<JsonReply, QString> read(QNetworkReply& reply);

    std::variant<JsonReply, QString> get(const QUrl& address);
    std::variant<JsonReply, QString> postForm(const QUrl& address, const QByteArray& form);
    std::variant<JsonReply, QString> postJson(const QUrl& address, const QJsonObject& body);

protected:
    QNetworkReply* createRequest(Operation op, const QNetworkRequest& request,
                                 QIODevice* outgoingData) override;

private:
    std::variant<JsonReply, QString>
    exchange(const QUrl& address,
             const std::function<QNetworkReply*(const QNetworkRequest&)>& send);

    int answerLimitMs_;
};

} // namespace brindle
