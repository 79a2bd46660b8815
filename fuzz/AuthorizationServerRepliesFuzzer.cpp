// Reads any JSON answer as a token endpoint's, a discovery document and a
// registration answer, and any bytes as the browser's request that brings
// the answer back: tokens come only as bearer tokens with a lifetime within a
// year, endpoints only as usable addresses on the issuer's host, a client
// only with an ID.
#include "signin/AuthorizationServerReplies.h"
#include "signin/KnownProviders.h"

#include <QJsonDocument>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using namespace brindle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int status = input.PickValueInArray({200, 201, 302, 400, 401, 500});
    const AddressReach reach =
        input.ConsumeBool() ? AddressReach::PublicOnly : AddressReach::LocalToo;
    const QUrl documentAddress(QString::fromStdString(input.ConsumeRandomLengthString(200)));
    const std::string body = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes = QByteArray::fromStdString(body);
    const JsonReply reply{status, QJsonDocument::fromJson(bytes).object()};
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);

    const auto tokens = readTokenReply(reply, now);
    if (const auto* grant = std::get_if<TokenGrant>(&tokens)) {
        if (grant->accessToken.isEmpty() || grant->accessToken.contains(QLatin1Char(' ')) ||
            !grant->expiry.isValid() || grant->expiry < now || grant->expiry > now.addDays(366)) {
            std::abort();
        }
    }
    const auto server = readDiscoveryDocument(reply, documentAddress, reach);
    if (const auto* endpoints = std::get_if<AuthorizationEndpoints>(&server)) {
        const QString host = QUrl(endpoints->issuer).host();
        if (!isAllowedEndpoint(endpoints->authorizationEndpoint, reach) ||
            !isAllowedEndpoint(endpoints->tokenEndpoint, reach) ||
            endpoints->tokenEndpoint.host().compare(host, Qt::CaseInsensitive) != 0 ||
            isKnownProviderHost(endpoints->authorizationEndpoint.host()) ||
            (!endpoints->registrationEndpoint.isEmpty() &&
             !isAllowedEndpoint(endpoints->registrationEndpoint, reach))) {
            std::abort();
        }
    }
    const auto client = readRegistrationReply(reply);
    if (const auto* registered = std::get_if<OAuthClient>(&client);
        registered && registered->id.isEmpty()) {
        std::abort();
    }
    redirectQuery(bytes);
    return 0;
}
