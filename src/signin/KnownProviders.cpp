#include "signin/KnownProviders.h"

#include <array>

namespace brindle {

namespace {

struct Provider {
    std::array<const char*, 3> domains; // the host itself or any name below it
    // Where its own sign-in pages and endpoints live, beside its mail domains.
    std::array<const char*, 3> signInDomains;
    const char* name;
    const char* authorization;
    const char* token;
    const char* revocation; // empty: none
    const char* issuer;     // empty: none that holds for every account
    const char* scope;
    const char* authorizationExtras;
    OAuthClient PackagedClients::*packaged;
};

const std::array<Provider, 2> providers{{
    {{"gmail.com", "googlemail.com", "google.com"},
     {"googleapis.com", "googleusercontent.com", "google.com"},
     "Google",
     "https://accounts.google.com/o/oauth2/v2/auth",
     "https://oauth2.googleapis.com/token",
     "https://oauth2.googleapis.com/revoke",
     "https://accounts.google.com",
     "https://mail.google.com/",
     // A refresh token comes only with offline access.
     "access_type=offline",
     &PackagedClients::google},
    {{"outlook.com", "office365.com", "hotmail.com"},
     {"microsoftonline.com", "live.com", "microsoft.com"},
     "Microsoft",
     "https://login.microsoftonline.com/common/oauth2/v2.0/authorize",
     "https://login.microsoftonline.com/common/oauth2/v2.0/token",
     "",
     // Each tenant has its own; the common endpoints name none.
     "",
     "https://outlook.office.com/IMAP.AccessAsUser.All "
     "https://outlook.office.com/POP.AccessAsUser.All offline_access",
     "",
     &PackagedClients::microsoft},
}};

bool isAtOrBelow(const QString& host, const char* domain) {
    const QString name = QString::fromLatin1(domain);
    return host == name || host.endsWith(QLatin1Char('.') + name);
}

} // namespace

std::optional<AuthorizationEndpoints> knownProvider(const QString& mailHost,
                                                    const PackagedClients& packaged) {
    const QString host = mailHost.toLower();
    for (const Provider& provider : providers) {
        for (const char* domain : provider.domains) {
            if (isAtOrBelow(host, domain)) {
                AuthorizationEndpoints endpoints;
                endpoints.authorizationEndpoint = QUrl(QString::fromLatin1(provider.authorization));
                endpoints.tokenEndpoint = QUrl(QString::fromLatin1(provider.token));
                endpoints.revocationEndpoint = QUrl(QString::fromLatin1(provider.revocation));
                endpoints.scope = QString::fromLatin1(provider.scope);
                endpoints.authorizationExtras =
                    QUrlQuery(QString::fromLatin1(provider.authorizationExtras));
                endpoints.providerName = QString::fromLatin1(provider.name);
                endpoints.issuer = QString::fromLatin1(provider.issuer);
                endpoints.packagedClient = packaged.*provider.packaged;
                return endpoints;
            }
        }
    }
    return std::nullopt;
}

bool isKnownProviderHost(const QString& host) {
    QString name = host.toLower();
    if (name.endsWith(QLatin1Char('.'))) {
        name.chop(1); // the same host, written as fully qualified
    }
    for (const Provider& provider : providers) {
        for (const auto& domains : {provider.domains, provider.signInDomains}) {
            for (const char* domain : domains) {
                if (isAtOrBelow(name, domain)) {
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace brindle
