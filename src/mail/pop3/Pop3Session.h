#pragma once

#include "mail/MailHeader.h"
#include "mail/MailSession.h"
#include "mail/net/BearerSasl.h"
#include "mail/net/MailServerAddress.h"
#include "mail/net/MailTransport.h"
#include "mail/pop3/Pop3Options.h"
#include "mail/pop3/Pop3ReplyReader.h"

#include <QCoreApplication>
#include <QSet>
#include <deque>

namespace brindle {

// One POP3 session, driven as a state machine: each sendXxx function sends one
// command and names the state that waits for its answer; each handleXxx
// function takes that answer and sends the next command. The state changes
// only in setState(). Once logged in, TOP, LIST and RETR are answered in the
// order sent; with PIPELINING they are sent ahead for a window of messages.
class Pop3Session {
    Q_DECLARE_TR_FUNCTIONS(brindle::Pop3Session)

public:
    Pop3Session(const MailServerAddress& address, const Pop3Options& options);

    // Opens the TCP connection; false when none can be made.
    bool connect();
    // TLS, greeting, capabilities, STLS, login and STAT: the message count, or
    // -1. With Bearer the password is an OAuth 2.0 access token, sent through
    // AUTH (RFC 5034).
    int authenticate(const QString& id, const QString& password,
                     MailSession::Authentication authentication);
    // Header fields of a message (TOP n 0); 0, or -1 on failure.
    int fetchStatus(int number, MailHeader& header);
    // Size from LIST n, or -1 when unknown or implausible.
    qint64 fetchSize(int number);
    // The whole message (RETR n), dot-stuffing undone; 0, or -1 on failure.
    int fetchMessage(int number, MailHeader& header, QByteArray& message);
    // UIDL: the unique id of each message, in order (empty where the server
    // names none or an unusable one); nullopt when the server does not list them.
    std::optional<QList<QByteArray>> fetchUniqueIds();
    // TOP n 0 alone, with nothing sent ahead: the header's first maxBytes.
    bool fetchHeaderStart(int number, qsizetype maxBytes, QByteArray& header);
    // Says QUIT when logged in, then closes the connection.
    void quit();
    // False once the session has ended: failed, timed out or closed.
    bool isOpen() const { return state_ != State::Stop; }
    QString errorText() const { return errorText_; }
    // The discovery document a server named when it refused a token, else empty.
    QString openidConfiguration() const {
        return refusal_ ? refusal_->openidConfiguration : QString();
    }
    // The server answered the token with -ERR.
    bool tokenRefused() const { return tokenRefused_; }

private:
    enum class State {
        Stop,        // no usable connection: not yet connected, failed or finished
        Connected,   // TCP is up, login not yet started
        Greeting,    // waiting for the server's greeting
        Capa,        // waiting for the capability list
        Stls,        // waiting for the answer to STLS
        User,        // waiting for the answer to USER
        Pass,        // waiting for the answer to PASS
        Apop,        // waiting for the answer to APOP
        Auth,        // waiting for a challenge or the answer to AUTH
        Stat,        // waiting for the message count
        Transaction, // logged in; TOP, LIST and RETR in flight are kept in pending_
        Quit,        // waiting for the answer to QUIT
    };
    enum class Command { Top, List, Retr };
    struct Request {
        Command command;
        int number;
        bool operator==(const Request&) const = default;
    };

    static const char* stateName(State state);
    void setState(State next);
    bool sendCommand(const QByteArray& command, State next);
    bool sendCapa();
    bool sendStls();
    bool sendLogin();
    bool sendUser();
    bool sendPass();
    bool sendApop();
    bool sendAuth();
    bool sendStat();
    bool sendQuit();
    bool handleReply(const Pop3ReplyReader::StatusLine& reply);
    bool handleGreeting(const Pop3ReplyReader::StatusLine& reply);
    bool handleCapa(const Pop3ReplyReader::StatusLine& reply);
    bool handleStls(const Pop3ReplyReader::StatusLine& reply);
    bool handleLogin(const Pop3ReplyReader::StatusLine& reply);
    bool handleAuth(const Pop3ReplyReader::StatusLine& reply);
    bool handleStat(const Pop3ReplyReader::StatusLine& reply);

    // Transaction phase.
    bool isMessageNumber(int number);
    bool sendRequests(int number);
    bool awaitReply(const Request& request, Pop3ReplyReader::StatusLine& reply);
    static QByteArray commandText(const Request& request);
    bool skipReply();
    // Reads and drops the answers to every command sent ahead.
    bool skipPendingReplies();
    bool fetchBody(const Request& request, QByteArray& body);

    bool readStatusLine(Pop3ReplyReader::StatusLine& reply);
    bool readBody(QByteArray& body, qint64 maxSize);
    bool receiveMore();
    bool startTls();
    // Fatal: ends the session. reject() keeps the session for the next call.
    bool fail(const QString& text);
    bool reject(const QString& text);
    // The server field that asks for this server over plain POP3 (after "pop3://").
    QString plainAddressText() const;
    QString serverText(const QByteArray& text) const;

    MailServerAddress address_;
    Pop3Options options_;
    MailTransport transport_;
    Pop3ReplyReader reader_;
    State state_ = State::Stop;
    QString errorText_;
    QByteArray id_;
    QByteArray password_;
    MailSession::Authentication authentication_ = MailSession::Authentication::UserPass;
    QByteArray apopTimestamp_;
    QSet<QByteArray> capabilities_;
    QSet<QByteArray> saslMechanisms_;
    // AUTH: the mechanism, the initial response in base64 until it is sent,
    // and what a refusing server's challenge said.
    BearerSasl::Mechanism mechanism_ = BearerSasl::Mechanism::OAuthBearer;
    QByteArray saslResponse_;
    QByteArray saslSecret_;
    std::optional<BearerSasl::Refusal> refusal_;
    bool tokenRefused_ = false;
    int count_ = 0;
    std::deque<Request> pending_;
    qint64 nextAhead_ = 1; // first message whose commands have not been sent ahead
    qint64 listedSize_ = -1;
    int listedNumber_ = 0;
};

} // namespace brindle
