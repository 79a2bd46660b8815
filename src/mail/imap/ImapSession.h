#pragma once

#include "mail/MailSession.h"
#include "mail/imap/ImapOptions.h"
#include "mail/imap/ImapReplyReader.h"
#include "mail/net/BearerSasl.h"
#include "mail/net/MailServerAddress.h"
#include "mail/net/MailTransport.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QSet>
#include <functional>
#include <optional>

namespace brindle {

// One IMAP connection: each command is sent with its own tag and its untagged
// responses are taken until the tagged one ends it. Logging in goes over TLS
// (TLS from the first byte or STARTTLS, as the address says; the server field
// names no plain IMAP, only tests ask for it to talk to a scripted server).
// The session never selects a mailbox for writing and never changes a message.
class ImapSession {
    Q_DECLARE_TR_FUNCTIONS(brindle::ImapSession)

public:
    ImapSession(const MailServerAddress& address, const ImapOptions& options);

    // Opens the TCP connection; false when none can be made.
    bool connect();
    // TLS, greeting, capabilities, STARTTLS and LOGIN or AUTHENTICATE PLAIN;
    // with Bearer the password is an OAuth 2.0 access token, sent through
    // AUTHENTICATE OAUTHBEARER or XOAUTH2.
    bool logIn(const QString& id, const QString& password,
               MailSession::Authentication authentication = MailSession::Authentication::UserPass);
    // STATUS INBOX (UNSEEN): the number of unseen messages, or -1.
    int unseenCount();
    // EXAMINE INBOX: selected read-only, so nothing in it changes.
    bool examineInbox();
    // INBOX's UIDVALIDITY as EXAMINE told it; 0 before or when it did not.
    quint32 uidValidity() const { return uidValidity_; }
    // UID SEARCH UNSEEN once INBOX is examined: the UIDs of its unseen
    // messages in ascending order, or nullopt.
    std::optional<QList<quint32>> unseenUids();
    // UID FETCH of the header fields From, Subject and Date, their first
    // maxBytes, without setting \Seen (BODY.PEEK); by UID, or nullopt.
    std::optional<QHash<quint32, QByteArray>> fetchHeaderFields(const QList<quint32>& uids,
                                                                qsizetype maxBytes);
    // IDLE, once the server says it waits; news then arrive by themselves.
    // News that came with the continuation and are already decrypted are
    // taken; those still inside TLS show in hasBufferedInput().
    bool startIdle();
    // Takes what the server sent during IDLE once the socket is readable or
    // hasBufferedInput(); false when the session ended.
    bool takeIdleNews();
    // True when received bytes wait inside TLS, where the socket no longer
    // shows them as readable.
    bool hasBufferedInput() const { return transport_.hasBufferedInput(); }
    // DONE, and the answer to IDLE.
    bool stopIdle();
    // INBOX's message count as last told (EXISTS, less EXPUNGE); -1 before.
    int messageCount() const { return messageCount_; }
    int socketDescriptor() const { return transport_.socketDescriptor(); }
    void restartDeadline() { transport_.restartDeadline(); }
    // Ends IDLE, says LOGOUT when logged in, then closes the connection.
    void logOut();
    bool isOpen() const { return open_; }
    bool hasCapability(const QByteArray& name) const { return capabilities_.contains(name); }
    QString errorText() const { return errorText_; }
    // The discovery document a server named when it refused a token, else empty.
    QString openidConfiguration() const { return openidConfiguration_; }
    bool tokenRefused() const { return tokenRefused_; }

private:
    // What a command may meet besides its tagged answer.
    struct Expect {
        // Given every untagged response; false ends the session's work.
        std::function<bool(const ImapResponse&)> onUntagged;
        // Gives what to send when the server asks to continue, or nullopt
        // when the request is an error; none: every request is one.
        std::function<std::optional<QByteArray>(const ImapResponse&)> onContinuation;
        // IDLE: the continuation request is the answer.
        bool continuationEnds = false;
        // LOGOUT: BYE is part of the answer, not a failure.
        bool byeExpected = false;
    };

    // Sends "<tag> command" (the tag kept in lastTag_) and takes responses
    // until the tagged one, which is left in done.
    bool execute(const QByteArray& command, ImapResponse& done, const Expect& expect);
    // The response-taking half of execute(), for the command tagged tag.
    bool awaitEnd(const QByteArray& tag, ImapResponse& done, const Expect& expect);
    // execute(), failing with failureText and the server's reason unless OK.
    bool executeOk(const QByteArray& command, const QString& failureText, const Expect& expect);
    bool readGreeting();
    bool askCapabilities();
    bool startTls();
    bool authenticate();
    bool authenticateBearer();
    void noteCapabilities(const QByteArray& list);
    // Takes the complete responses already read during IDLE, receiving nothing.
    bool takeReadIdleNews();
    // Notes a message count (EXISTS, EXPUNGE) or BYE; false for BYE.
    bool noteUntagged(const ImapResponse& response, bool byeExpected);
    bool readResponse(ImapResponse& response);
    bool receiveMore();
    bool fail(const QString& text);
    // What a status response says after its word and response code, cut short.
    QString reason(const ImapResponse& response) const;

    MailServerAddress address_;
    ImapOptions options_;
    MailTransport transport_;
    ImapReplyReader reader_;
    bool open_ = false;
    bool loggedIn_ = false;
    int nextTag_ = 1;
    QByteArray lastTag_;
    QByteArray idleTag_; // while idling
    int messageCount_ = -1;
    quint32 uidValidity_ = 0;
    QSet<QByteArray> capabilities_;
    QByteArray id_;
    QByteArray password_;
    bool bearer_ = false;
    // The credentials as last sent in base64, kept out of error texts.
    QByteArray sentCredentials_;
    QString errorText_;
    QString openidConfiguration_;
    bool tokenRefused_ = false;
};

} // namespace brindle
