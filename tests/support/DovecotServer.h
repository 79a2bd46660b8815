#pragma once

#include "support/TempFolder.h"

#include <QProcess>
#include <QString>

namespace brindle::test {

// A real Dovecot POP3 and IMAP server for one test: its own configuration, password
// file, maildir and log in a temporary folder, listening on free loopback
// ports. Works as root (mail is then owned by the "dovecot" user) and as a
// normal user (everything runs as that user).
class DovecotServer {
public:
    static constexpr const char* user = "alice";
    static constexpr const char* password = "wonderland";

    DovecotServer();
    ~DovecotServer();
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // Before start(): serve TLS with this certificate, on the POP3S and IMAPS
    // ports and through STLS and STARTTLS on the plain ones.
    void enableTls(const QString& certificateFile, const QString& keyFile);
    // Before start(): also take OAuth 2.0 tokens through these SASL mechanisms,
    // checked by introspection at an authorization server whose discovery
    // document a refused OAUTHBEARER login names.
    void enableOAuth(const QString& introspectionUrl, const QString& discoveryUrl,
                     const QString& mechanisms = QStringLiteral("oauthbearer xoauth2"));
    // Starts Dovecot and waits until it accepts connections.
    bool start();
    void stop();

    quint16 pop3Port() const { return pop3Port_; }
    quint16 pop3sPort() const { return pop3sPort_; }
    quint16 imapPort() const { return imapPort_; }
    quint16 imapsPort() const { return imapsPort_; }
    // Adds a message to the user's maildir as Dovecot's delivery would.
    void deliver(const QByteArray& message);
    // Marks every message read, as a mail program on the maildir would.
    void markAllSeen();
    // The messages whose flags say read (\Seen), by their unique names.
    QStringList seenMessages() const;
    // Successful POP3 and IMAP logins written to Dovecot's log so far.
    int loginCount() const;
    // Waits until loginCount() reaches count (the log is written asynchronously).
    bool waitForLoginCount(int count) const;
    QString log() const;
    // The IMAP processes serving logged-in connections now.
    QList<qint64> imapSessionProcesses() const;

private:
    void writeConfiguration() const;
    void handToMailUser(const QString& path) const;

    TempFolder folder_;
    QProcess process_;
    QString certificateFile_;
    QString keyFile_;
    QString introspectionUrl_;
    QString discoveryUrl_;
    QString oauthMechanisms_;
    quint16 pop3Port_ = 0;
    quint16 pop3sPort_ = 0;
    quint16 imapPort_ = 0;
    quint16 imapsPort_ = 0;
    uint mailUid_ = 0;
    uint mailGid_ = 0;
    QString serviceUser_;
    int delivered_ = 0;
};

} // namespace brindle::test
