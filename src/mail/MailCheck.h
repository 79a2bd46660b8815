#pragma once

#include "mail/MailAccess.h"
#include "mail/MailSession.h"
#include "settings/core/ProgramFiles.h"
#include "ui/TimeMarks.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace brindle {

class AccessTokens;
class DesktopAccounts;
class DialUpLinks;
class MailClient;
struct SharedSettings;

// One look into the mailbox: log in with the saved or confirmed account (an
// account that signs in with OAuth 2.0 or through a desktop account needs an
// ID, no password),
// read every message, and say what was found. Checks never nest: one asked for
// while another runs is skipped.
class MailCheck : public QObject {
    Q_OBJECT
public:
    struct Services {
        MailClient& client;
        DialUpLinks& dialUpLinks;
        SharedSettings& shared;
        // The tokens of an account that signs in with OAuth 2.0.
        AccessTokens& accessTokens;
        ProgramFiles files;
        // Whether the dial-up links are to be hung up after each check.
        std::function<bool()> hangUpWanted;
        // The session opened, logged in and every message read.
        TimeMarks timeMarks = TimeMarks();
        // The desktop's online accounts; none: no account signs in through one.
        DesktopAccounts* desktopAccounts = nullptr;
    };

    explicit MailCheck(Services services, QObject* parent = nullptr);

    void checkMail();
    bool isRunning() const { return running_; }
    // Ends every active dial-up link, first-listed first.
    void hangUpDialUp();
    // The server and account the next check would log in with, read as a
    // check reads them but without a signal; nullopt when one is missing.
    std::optional<MailAccess> nextAccess() const;

signals:
    // The account about to be used, for the account dialog to show.
    void accountRead(const QString& id, const QString& password);
    // No ID or password is known: the check cannot log in.
    void accountMissing();
    // The login failed, or no access token could be had; the session stays
    // open until the signal returns.
    void loginFailed(const QString& text);
    void newMail(int count);
    // A check logged in, with this server and account; its session has ended.
    void loggedIn(const MailAccess& access);

private:
    void run();
    int countMessages(std::optional<MailAccess>& access);
    void loadAccount();
    std::variant<int, MailError> logIn(std::unique_ptr<MailSession>& session,
                                       const MailAccess& access);
    std::variant<int, MailError> logInWithToken(std::unique_ptr<MailSession>& session);
    std::pair<QString, QString> accountToUse() const;
    // The way in for this ID and password; nullopt when one is missing.
    std::optional<MailAccess> accessFor(const QString& id, const QString& password) const;

    Services services_;
    bool running_ = false;
};

} // namespace brindle
