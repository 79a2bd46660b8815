#pragma once

#include "mail/AccessTokens.h"
#include "mail/ConcurrentMailboxChecks.h"
#include "mail/MailAccess.h"
#include "mail/MailSession.h"
#include "mail/MailboxOutcome.h"
#include "settings/core/Mailbox.h"
#include "mail/NewMessages.h"
#include "settings/core/ProgramFiles.h"
#include "ui/TimeMarks.h"

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace brindle {

class DesktopAccounts;
class DialUpLinks;
class MailClient;
class MailboxPasswords;
struct SharedSettings;

// One look into every mailbox: log in with the saved or confirmed account (an
// account that signs in with OAuth 2.0 or through a desktop account needs an
// ID, no password), read every message, learn which are new since the check
// before (kept in the seen-messages file), and say what was found. The first
// mailbox (the server and account files) is read on the window's thread, the
// others meanwhile on threads of their own; the whole check ends within
// WholeCheckMs. Checks never nest: one asked for while another runs is skipped.
class MailCheck : public QObject {
    Q_OBJECT
public:
    struct Services {
        MailClient& client;
        DialUpLinks& dialUpLinks;
        SharedSettings& shared;
        // The tokens of an account that signs in with OAuth 2.0.
        AccessTokens& accessTokens;
        // The passwords of the mailboxes after the first.
        MailboxPasswords& passwords;
        ProgramFiles files;
        // Whether the dial-up links are to be hung up after each check.
        std::function<bool()> hangUpWanted;
        // The session opened, logged in and every message read.
        TimeMarks timeMarks = TimeMarks();
        // The desktop's online accounts; none: no account signs in through one.
        DesktopAccounts* desktopAccounts = nullptr;
    };

    // As long as one session may take.
    static constexpr int WholeCheckMs = 3 * 60 * 1000;

    explicit MailCheck(Services services, QObject* parent = nullptr);

    void checkMail();
    bool isRunning() const { return running_; }
    // Ends every active dial-up link, first-listed first.
    void hangUpDialUp();
    // The server and account the next check would log in with, read as a
    // check reads them but without a signal; nullopt when one is missing.
    std::optional<MailAccess> nextAccess() const;
    // The mailboxes after the first, as the mailbox file lists them now.
    QList<Mailbox> otherMailboxes() const;
    // What a watch on one of them logs in with; nullopt when its password
    // cannot be read.
    std::optional<MailAccess> mailboxAccess(const Mailbox& mailbox);

signals:
    // The account about to be used, for the account dialog to show.
    void accountRead(const QString& id, const QString& password);
    // No ID or password is known: the check cannot log in.
    void accountMissing();
    // The login failed, or no access token could be had; the session stays
    // open until the signal returns. Only when the first mailbox is the only one.
    void loginFailed(const QString& text);
    // Each mailbox's count or error, the first mailbox first, once a check
    // of several mailboxes has ended (after newMail).
    void mailboxesChecked(const QList<MailboxOutcome>& outcomes);
    void newMail(int count);
    // A check read the mailboxes: the count of all it read (0 too), and for
    // each mailbox read whose server names its messages, which no check had seen.
    void mailboxRead(int count, const QList<NewMessages>& news);
    // A check logged in, with this server and account; its session has ended.
    void loggedIn(const MailAccess& access);

private:
    void run();
    // Errors go to failure when given, else to loginFailed.
    int countMessages(std::optional<MailAccess>& access, std::optional<NewMessages>& news,
                      std::optional<MailError>* failure);
    // Reads the other mailboxes, a refused token refreshed once and tried again.
    QList<ConcurrentMailboxChecks::Result> readOthers(const QList<Mailbox>& others,
                                                      QDeadlineTimer deadline);
    std::variant<ConcurrentMailboxChecks::Login, MailError> loginFor(const Mailbox& mailbox,
                                                                     AccessTokens::Refresh refresh);
    QString firstMailboxName() const;
    void loadAccount();
    std::variant<int, MailError> logIn(std::unique_ptr<MailSession>& session,
                                       const MailAccess& access);
    std::variant<int, MailError> logInWithToken(std::unique_ptr<MailSession>& session);
    std::pair<QString, QString> accountToUse() const;
    // The way in for this ID and password; nullopt when one is missing.
    std::optional<MailAccess> accessFor(const QString& id, const QString& password) const;

    Services services_;
    bool running_ = false;
    ConcurrentMailboxChecks others_;
};

} // namespace brindle
