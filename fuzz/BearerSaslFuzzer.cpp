// Reads a server's refusal of a token (base64 of a JSON object) and checks
// that only a short printable status and a bounded http(s) URL come out.
#include "mail/net/BearerSasl.h"

#include <QUrl>
#include <cstdlib>

using brindle::BearerSasl;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray challenge(reinterpret_cast<const char*>(data), qsizetype(size));
    // Raw bytes and the same bytes as a server would encode them.
    for (const QByteArray& sent : {challenge, challenge.toBase64()}) {
        const BearerSasl::Refusal refusal = BearerSasl::readRefusal(sent);
        if (refusal.status.size() > BearerSasl::maxStatusLength) {
            std::abort();
        }
        for (const QChar c : refusal.status) {
            if (c <= u' ' || c > u'~') {
                std::abort();
            }
        }
        const QString& url = refusal.openidConfiguration;
        if (url.size() > BearerSasl::maxUrlLength ||
            (!url.isEmpty() && !url.startsWith(QLatin1String("https://")) &&
             !url.startsWith(QLatin1String("http://")))) {
            std::abort();
        }
    }
    return 0;
}
