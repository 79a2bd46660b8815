#include "mail/MailCheck.h"

#include "mail/AccessTokens.h"
#include "mail/MailClient.h"
#include "mail/ReadMessages.h"
#include "mail/dialup/DialUpLinks.h"
#include "settings/core/AccountSignIn.h"
#include "settings/core/MailboxList.h"
#include "settings/core/MailboxPasswords.h"
#include "settings/core/SeenMessages.h"
#include "settings/core/SettingKeys.h"
#include "settings/core/SharedSettings.h"

#include <QScopeGuard>

namespace brindle {

MailCheck::MailCheck(Services services, QObject* parent)
    : QObject(parent), services_(std::move(services)), others_(services_.client) {}

void MailCheck::checkMail() {
    // A check asked for while one runs (a tick or the menu during one of its
    // waits) is skipped: two sessions at once would lock the mailbox.
    if (running_) {
        return;
    }
    running_ = true;
    const auto done = qScopeGuard([this] { running_ = false; });
    run();
}

// With one mailbox, a check is what it always was; the others are started
// first and counted while the first one is read.
void MailCheck::run() {
    const QDeadlineTimer deadline(WholeCheckMs);
    const QList<Mailbox> others = otherMailboxes();
    if (!others.isEmpty()) {
        QList<std::variant<ConcurrentMailboxChecks::Login, MailError>> logins;
        for (const Mailbox& mailbox : others) {
            logins.append(loginFor(mailbox, AccessTokens::Refresh::WhenDue));
        }
        others_.start(logins);
    }
    std::optional<MailAccess> access;
    std::optional<NewMessages> firstNews;
    std::optional<MailError> firstFailure;
    int count = services_.shared.Pop3Server.isEmpty()
                    ? 0
                    : countMessages(access, firstNews, others.isEmpty() ? nullptr : &firstFailure);
    if (access) {
        emit loggedIn(*access);
    }
    QList<NewMessages> news;
    if (firstNews) {
        news.append(*firstNews);
    }
    QList<MailboxOutcome> outcomes;
    if (!others.isEmpty()) {
        if (!services_.shared.Pop3Server.isEmpty()) {
            outcomes.append(
                {firstMailboxName(), count, firstFailure ? firstFailure->text : QString()});
        }
        const QList<ConcurrentMailboxChecks::Result> results = readOthers(others, deadline);
        for (qsizetype index = 0; index < others.size(); ++index) {
            if (const auto* error = std::get_if<MailError>(&results[index])) {
                outcomes.append({others[index].name, 0, error->text});
                continue;
            }
            const auto& read = std::get<ConcurrentMailboxChecks::Read>(results[index]);
            outcomes.append({others[index].name, read.count, {}});
            count += read.count;
            if (read.news) {
                news.append(*read.news);
            }
        }
    }
    // Written here, once for all: the sessions ran at once.
    QList<std::pair<QString, QStringList>> seen;
    for (const NewMessages& mailbox : std::as_const(news)) {
        seen.append({mailbox.mailbox, mailbox.seen});
    }
    if (!seen.isEmpty()) {
        services_.files.seenMessages().keep(seen);
    }
    if (access || !outcomes.isEmpty()) {
        emit mailboxRead(count, news);
    }
    if (count > 0) {
        emit newMail(count);
    }
    // After the board: an error box waits for the user.
    if (!outcomes.isEmpty()) {
        emit mailboxesChecked(outcomes);
    }
    if (services_.hangUpWanted()) {
        hangUpDialUp();
    }
}

QList<ConcurrentMailboxChecks::Result> MailCheck::readOthers(const QList<Mailbox>& others,
                                                             QDeadlineTimer deadline) {
    QList<ConcurrentMailboxChecks::Result> results = others_.wait(deadline);
    QList<std::variant<ConcurrentMailboxChecks::Login, MailError>> retries;
    QList<qsizetype> retried;
    for (qsizetype index = 0; index < others.size(); ++index) {
        const auto* error = std::get_if<MailError>(&results[index]);
        if (error && error->tokenRefused && !deadline.hasExpired()) {
            retries.append(loginFor(others[index], AccessTokens::Refresh::Now));
            retried.append(index);
        }
    }
    if (retried.isEmpty()) {
        return results;
    }
    others_.start(retries);
    const QList<ConcurrentMailboxChecks::Result> again = others_.wait(deadline);
    for (qsizetype index = 0; index < retried.size(); ++index) {
        results[retried[index]] = again[index];
    }
    return results;
}

// A password from the keyring, an access token, or the secret a desktop
// account gives for this login; what is missing stands as the mailbox's error.
std::variant<ConcurrentMailboxChecks::Login, MailError>
MailCheck::loginFor(const Mailbox& mailbox, AccessTokens::Refresh refresh) {
    ConcurrentMailboxChecks::Login login{
        mailbox.server, mailbox.id, {}, MailSession::Authentication::UserPass,
        services_.files.seenMessages().ids(NewMessages::mailboxName(mailbox.server, mailbox.id))};
    if (mailbox.signIn == Mailbox::SignIn::DesktopAccount) {
        const std::optional<MailAccess> access = mailboxAccess(mailbox);
        if (!access) {
            return MailError{tr("デスクトップのオンラインアカウントが使えません。")};
        }
        const std::variant<LoginSecret, MailError> secret = access->loginSecret();
        if (const auto* error = std::get_if<MailError>(&secret)) {
            return *error;
        }
        login.secret = std::get<LoginSecret>(secret).text;
        login.authentication = std::get<LoginSecret>(secret).authentication;
        return login;
    }
    if (mailbox.signIn == Mailbox::SignIn::Browser) {
        const auto token = services_.accessTokens.accessToken(mailbox.server, mailbox.id, refresh);
        if (const auto* error = std::get_if<MailError>(&token)) {
            // Such a mailbox signs in again from its list, not from the account dialog.
            return error->signInNeeded
                       ? MailError{tr("サインインの有効期限が切れたか、取り消されました。\n"
                                      "「メールボックス」の画面でこのメールボックスを「変更」し、"
                                      "OK でもう一度サインインしてください。")}
                       : *error;
        }
        login.secret = std::get<QString>(token);
        login.authentication = MailSession::Authentication::Bearer;
        return login;
    }
    const auto password = services_.passwords.read(mailbox);
    if (const auto* failure = std::get_if<MailboxPasswords::Failure>(&password)) {
        return MailError{failure->text};
    }
    login.secret = std::get<QString>(password);
    return login;
}

QList<Mailbox> MailCheck::otherMailboxes() const {
    return MailboxList(services_.files.mailboxSettings()).read();
}

std::optional<MailAccess> MailCheck::mailboxAccess(const Mailbox& mailbox) {
    switch (mailbox.signIn) {
    case Mailbox::SignIn::Browser:
        return MailAccess{mailbox.server, mailbox.id, {}, &services_.accessTokens};
    case Mailbox::SignIn::DesktopAccount:
        if (!services_.desktopAccounts) {
            return std::nullopt;
        }
        return MailAccess{mailbox.server,        mailbox.id, {}, nullptr, services_.desktopAccounts,
                          mailbox.desktopAccount};
    case Mailbox::SignIn::Password:
        break;
    }
    const auto password = services_.passwords.read(mailbox);
    if (!std::holds_alternative<QString>(password)) {
        return std::nullopt;
    }
    return MailAccess{mailbox.server, mailbox.id, std::get<QString>(password)};
}

// The first mailbox has no name of its own: its account stands for it.
QString MailCheck::firstMailboxName() const {
    const QString id = accountToUse().first;
    return id.isEmpty() ? services_.shared.Pop3Server : id;
}

// Logs in and, where the session asks for it, reads every message, then the
// new ones' headers; the count, or 0 when the mailbox could not be read.
int MailCheck::countMessages(std::optional<MailAccess>& access, std::optional<NewMessages>& news,
                             std::optional<MailError>* failure) {
    std::unique_ptr<MailSession> session = services_.client.open(services_.shared.Pop3Server);
    if (!session) {
        // Alone, an unreachable server is passed over in silence, as it always was.
        if (failure) {
            *failure = ConcurrentMailboxChecks::unreachable(services_.shared.Pop3Server);
        }
        return 0;
    }
    services_.timeMarks.mark("session-open");
    loadAccount();
    const std::optional<MailAccess> next =
        accessFor(services_.shared.AccountId, services_.shared.AccountPassword);
    if (!next) {
        emit accountMissing();
        return 0;
    }
    const std::variant<int, MailError> loggedIn = logIn(session, *next);
    if (const auto* error = std::get_if<MailError>(&loggedIn)) {
        if (failure) {
            *failure = *error;
        } else {
            emit loginFailed(error->text);
        }
        return 0;
    }
    services_.timeMarks.mark("logged-in");
    const int count = std::get<int>(loggedIn);
    access = next;
    if (session->checkReadsMessages()) {
        readMessages(*session, count);
        services_.timeMarks.mark("fetched");
    }
    const QString mailbox =
        NewMessages::mailboxName(services_.shared.Pop3Server, services_.shared.AccountId);
    news = NewMessages::read(*session, mailbox, services_.files.seenMessages().ids(mailbox));
    return count;
}

std::variant<int, MailError> MailCheck::logIn(std::unique_ptr<MailSession>& session,
                                              const MailAccess& access) {
    if (access.tokens) {
        return logInWithToken(session);
    }
    if (!access.desktop) {
        return session->logIn(access.id, access.password,
                              services_.shared.ApopFlag != 0
                                  ? MailSession::Authentication::Apop
                                  : MailSession::Authentication::UserPass);
    }
    const std::variant<LoginSecret, MailError> secret = access.loginSecret();
    if (const auto* error = std::get_if<MailError>(&secret)) {
        return *error;
    }
    const LoginSecret& given = std::get<LoginSecret>(secret);
    return session->logIn(access.id, given.text, given.authentication);
}

// A token the server refuses although it should still be good (revoked, or
// its stored lifetime wrong) is refreshed once and tried once more, in a new
// session; a second refusal is told.
std::variant<int, MailError> MailCheck::logInWithToken(std::unique_ptr<MailSession>& session) {
    const SharedSettings& shared = services_.shared;
    const auto attempt = [&](AccessTokens::Refresh refresh) -> std::variant<int, MailError> {
        const auto token =
            services_.accessTokens.accessToken(shared.Pop3Server, shared.AccountId, refresh);
        if (const auto* error = std::get_if<MailError>(&token)) {
            return *error;
        }
        return session->logIn(shared.AccountId, std::get<QString>(token),
                              MailSession::Authentication::Bearer);
    };
    const auto first = attempt(AccessTokens::Refresh::WhenDue);
    const auto* refused = std::get_if<MailError>(&first);
    if (!refused || !refused->tokenRefused) {
        return first;
    }
    session = services_.client.open(shared.Pop3Server);
    return session ? attempt(AccessTokens::Refresh::Now) : first;
}

std::optional<MailAccess> MailCheck::nextAccess() const {
    const auto [id, password] = accountToUse();
    return accessFor(id, password);
}

// The account file says how the account signs in, for this server: OAuth 2.0
// tokens are in the keyring, a desktop account's secret with the desktop.
std::optional<MailAccess> MailCheck::accessFor(const QString& id, const QString& password) const {
    const QString& server = services_.shared.Pop3Server;
    MailAccess access{server, id, password};
    const ProfileFile account = services_.files.accountSettings();
    if (AccountSignIn::signedInServer(account, server) == server) {
        access.password.clear();
        access.tokens = &services_.accessTokens;
    } else if (const auto desktopAccount = AccountSignIn::desktopAccount(account, server);
               desktopAccount && services_.desktopAccounts) {
        access.password.clear();
        access.desktop = services_.desktopAccounts;
        access.desktopAccount = *desktopAccount;
    }
    const bool hasSecret = access.tokens || access.desktop || !access.password.isEmpty();
    if (server.isEmpty() || id.isEmpty() || !hasSecret) {
        return std::nullopt;
    }
    return access;
}

void MailCheck::loadAccount() {
    SharedSettings& shared = services_.shared;
    std::tie(shared.AccountId, shared.AccountPassword) = accountToUse();
    emit accountRead(shared.AccountId, shared.AccountPassword);
}

// An ID and password confirmed in the account dialog this run are the ones
// to use; otherwise the saved account is read afresh each time.
std::pair<QString, QString> MailCheck::accountToUse() const {
    const SharedSettings& shared = services_.shared;
    if (shared.AccountConfirmed) {
        return {shared.AccountId, shared.AccountPassword};
    }
    const ProfileFile account = services_.files.accountSettings();
    return {account.readString(SettingKeys::Section, SettingKeys::AccountId.name,
                               QString::fromUtf8(SettingKeys::AccountId.defaultText)),
            account.readString(SettingKeys::Section, SettingKeys::AccountPassword.name,
                               QString::fromUtf8(SettingKeys::AccountPassword.defaultText))};
}

void MailCheck::hangUpDialUp() {
    DialUpLinks& links = services_.dialUpLinks;
    const auto active = links.active();
    if (!active) {
        return;
    }
    for (const QString& id : *active) {
        links.hangUp(id);
    }
}

} // namespace brindle
