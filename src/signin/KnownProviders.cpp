#include "signin/KnownProviders.h"

#include <array>

namespace brindle {

namespace {

struct Provider {
    std::array<const char*, 3> domains; // the host itself or any name below it
    const char* name;
    const char* authorization;
    const char* token;
    const char* scope;
    const char* authorizationExtras;
};

const std::array<Provider, 2> providers{{
    {{"gmail.com", "googlemail.com", "google.com"},
     "Google",
     "https://accounts.google.com/o/oauth2/v2/auth",
     "https://oauth2.googleapis.com/token",
     "https://mail.google.com/",
     // A refresh token comes only with offline access.
     "access_type=offline"},
    {{"outlook.com", "office365.com", "hotmail.com"},
     "Microsoft",
     "https://login.microsoftonline.com/common/oauth2/v2.0/authorize",
     "https://login.microsoftonline.com/common/oauth2/v2.0/token",
     "https://outlook.office.com/IMAP.AccessAsUser.All "
     "https://outlook.office.com/POP.AccessAsUser.All offline_access",
     ""},
}};

bool isAtOrBelow(const QString& host, const char* domain) {
    const QString name = QString::fromLatin1(domain);
    return host == name || host.endsWith(QLatin1Char('.') + name);
}

} // namespace

std::optional<AuthorizationEndpoints> knownProvider(const QString& mailHost) {
    const QString host = mailHost.toLower();
    for (const Provider& provider : providers) {
        for (const char* domain : provider.domains) {
            if (isAtOrBelow(host, domain)) {
                return AuthorizationEndpoints{
                    QUrl(QString::fromLatin1(provider.authorization)),
                    QUrl(QString::fromLatin1(provider.token)),
                    QUrl(),
                    QString::fromLatin1(provider.scope),
                    QUrlQuery(QString::fromLatin1(provider.authorizationExtras)),
                    QString::fromLatin1(provider.name)};
            }
        }
    }
    return std::nullopt;
}

} // namespace brindle
