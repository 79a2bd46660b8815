#pragma once

#include <QString>

namespace brindle {

// Signing an account in with OAuth 2.0 through the user's web browser, as the
// account dialog asks for it.
class BrowserSignIn {
public:
    struct Result {
        bool signedIn = false;
        QString text; // why not, for the user; empty when the user stopped
    };

    virtual ~BrowserSignIn() = default;
    // Signs the ID in for the mail server and keeps its tokens in the
    // keyring; nothing is kept unless it succeeds.
    virtual Result signIn(const QString& server, const QString& id) = 0;
    // Takes the account's tokens back at the provider where it can, and
    // removes them from the keyring; why they could not be removed, for the
    // user, else empty.
    virtual QString signOut(const QString& server, const QString& id) = 0;
};

} // namespace brindle
