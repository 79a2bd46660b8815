#pragma once

#include <QString>

namespace brindle {

// One mailbox the program watches: the name the user gave it, its server
// field (any form the server settings take), the ID it logs in with and how
// it signs in. Its password or tokens live in the desktop keyring, never here.
struct Mailbox {
    enum class SignIn {
        Password,       // the password is kept in the keyring
        Browser,        // OAuth 2.0 through the web browser; the tokens are in the keyring
        DesktopAccount, // the desktop's online account gives the secret at each login
    };

    QString name;
    QString server;
    QString id;
    SignIn signIn = SignIn::Password;
    QString desktopAccount = {}; // the desktop's name for the account (DesktopAccount)

    bool operator==(const Mailbox&) const = default;
    // The same account on the same server: one keyring item between them.
    bool sameAccount(const Mailbox& other) const {
        return server == other.server && id == other.id;
    }
};

} // namespace brindle
