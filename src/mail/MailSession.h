#pragma once

#include "mail/MailHeader.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

namespace brindle {

// Why a mail session could not do what was asked, in words for the user.
struct MailError {
    QString text;
    // The discovery document a server named when it refused an OAUTHBEARER
    // token (RFC 7628), else empty.
    QString openidConfiguration = {};
    // The server answered an OAuth 2.0 login and refused its access token
    // (rather than the connection failing before it could).
    bool tokenRefused = false;
    // The account's sign-in is gone (revoked, expired or never made): only a
    // new sign-in helps.
    bool signInNeeded = false;
};

// One connection to a mailbox; destroying it ends the connection politely.
class MailSession {
public:
    // Bearer: the password is an OAuth 2.0 access token.
    enum class Authentication { UserPass, Apop, Bearer };

    virtual ~MailSession() = default;
    // The number of new messages once logged in, or why not.
    virtual std::variant<int, MailError> logIn(const QString& id, const QString& password,
                                               Authentication authentication) = 0;
    // Messages are numbered from 1; nullopt when one cannot be read.
    virtual std::optional<MailHeader> header(int number) = 0;
    virtual std::optional<qint64> size(int number) = 0;
    virtual std::optional<QByteArray> fetch(int number) = 0;
    // Whether a check reads the messages it counted. A session whose count is
    // kept by the server (the unseen messages) reads none: reading could mark
    // them read.
    virtual bool checkReadsMessages() const { return true; }
    // What names each message for good, oldest first (POP3's UIDL, IMAP's
    // UIDVALIDITY and UID of INBOX's unseen messages); nullopt when the
    // server names none.
    virtual std::optional<QStringList> messageIds() { return std::nullopt; }
    // From, Subject and Date of the messages of these ids (from the last
    // messageIds()), read from the first MaxHeaderBytes of each header
    // without marking anything read; messages that cannot be read are left out.
    static constexpr qsizetype MaxHeaderBytes = 8 * 1024;
    virtual QHash<QString, MailHeader> headers(const QStringList& /*ids*/) { return {}; }
    // False once the session has ended (the server hung up, a time-out, the
    // deadline): no later call can succeed.
    virtual bool isOpen() const = 0;
};

} // namespace brindle
