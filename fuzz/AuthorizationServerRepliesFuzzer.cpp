// Reads any JSON answer as a token endpoint's, a discovery document and a
// registration answer: tokens come only with an access token and a lifetime
// within a year, endpoints only as usable addresses, a client only with an ID.
#include "signin/AuthorizationServerReplies.h"

#include <QJsonDocument>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace brindle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int status = input.PickValueInArray({200, 201, 302, 400, 401, 500});
    const std::string body = input.ConsumeRemainingBytesAsString();
    const JsonReply reply{status,
                          QJsonDocument::fromJson(QByteArray::fromStdString(body)).object()};
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);

    const auto tokens = readTokenReply(reply, now);
    if (const auto* grant = std::get_if<TokenGrant>(&tokens)) {
        if (grant->accessToken.isEmpty() ||
            (grant->expiry.isValid() &&
             (grant->expiry < now || grant->expiry > now.addDays(366)))) {
            std::abort();
        }
    }
    const auto server = readDiscoveryDocument(reply);
    if (const auto* endpoints = std::get_if<AuthorizationEndpoints>(&server)) {
        if (!isAllowedEndpoint(endpoints->authorizationEndpoint) ||
            !isAllowedEndpoint(endpoints->tokenEndpoint) ||
            (!endpoints->registrationEndpoint.isEmpty() &&
             !isAllowedEndpoint(endpoints->registrationEndpoint))) {
            std::abort();
        }
    }
    const auto client = readRegistrationReply(reply);
    if (const auto* registered = std::get_if<OAuthClient>(&client);
        registered && registered->id.isEmpty()) {
        std::abort();
    }
    return 0;
}
