#pragma once

#include "signin/AuthorizationServerReplies.h"

#include <QNetworkAccessManager>
#include <functional>
#include <variant>

namespace brindle {

// Every request to an authorization server goes through here: only to the
// addresses its reach allows (checked again once the host is looked up), no
// redirect followed, an answer of at most MaxBodyBytes (counted as it
// arrives, whatever the headers say) within AnswerLimitMs.
class BoundedNetworkAccess {
public:
    static constexpr int AnswerLimitMs = 30'000;
    static constexpr qint64 MaxBodyBytes = 64 * 1024;

    explicit BoundedNetworkAccess(AddressReach reach, int answerLimitMs = AnswerLimitMs);

    // The JSON answer, or why there is none in words for the user.
    std::variant<JsonReply, QString> get(const QUrl& address);
    std::variant<JsonReply, QString> postForm(const QUrl& address, const QByteArray& form);
    std::variant<JsonReply, QString> postJson(const QUrl& address, const QJsonObject& body);

private:
    std::variant<JsonReply, QString>
    exchange(const QUrl& address,
             const std::function<QNetworkReply*(const QNetworkRequest&)>& send);
    // Why the address may not be asked, for the user; empty when it may.
    QString whyNotReachable(const QUrl& address);

    AddressReach reach_;
    int answerLimitMs_;
    QNetworkAccessManager network_;
};

} // namespace brindle
