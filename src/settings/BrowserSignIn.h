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
    // Removes the account's tokens from the keyring.
    virtual void signOut(const QString& server, const QString& id) = 0;
};

} // namespace brindle
