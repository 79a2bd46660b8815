#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <openssl/types.h>
#include <thread>
#include <vector>

namespace brindle::test {

// A loopback TCP server on its own thread that plays a transcript to one
// client (or, with nextClient(), to several in turn) and records every line the
// clients send. After the last step it keeps recording until the client hangs
// up. A client that hangs up ends the play; bytes it sent without a line end
// count as its last line.
class ScriptedMailServer {
public:
    ScriptedMailServer();
    ~ScriptedMailServer();

    // Speaks TLS from the first byte, with this certificate and key (PEM files).
    ScriptedMailServer& useTls(const QString& certificateFile, const QString& keyFile);

    // Transcript steps, played in order once a client connects.
    ScriptedMailServer& say(const QByteArray& bytes);
    // Says the parts in one write to the socket; over TLS each is a record of its own.
    ScriptedMailServer& sayAtOnce(const QList<QByteArray>& parts);
    // Says the bytes again and again until limit bytes are said or the client
    // takes no more.
    ScriptedMailServer& sayRepeatedly(const QByteArray& bytes, qint64 limit);
    ScriptedMailServer& hear(int lines = 1);
    ScriptedMailServer& pause(int milliseconds);
    ScriptedMailServer& hangUp();
    // A server that answers lines in order: hear one, say the answer.
    ScriptedMailServer& answer(const QByteArray& reply) { return hear().say(reply); }
    // The last step: answers every further line with reply until the client hangs up.
    ScriptedMailServer& answerEveryLine(const QByteArray& reply);
    // Hangs up and plays the rest to the next client that connects.
    ScriptedMailServer& nextClient();

    void start();
    quint16 port() const { return port_; }
    // The server field for this server with scheme, e.g. "pop3://127.0.0.1:port".
    QString address(const char* scheme = "pop3") const;
    // Waits for the session to end and returns the client's lines, without line ends.
    QList<QByteArray> clientLines();
    // For each client line, how many say() steps had been played when it arrived.
    QList<int> repliesBeforeEachLine();
    // Clients accepted so far.
    int clientCount() const { return clientCount_; }
    // The bytes of sayRepeatedly() the client took (waits for the session to end).
    qint64 repeatedBytesTaken();

private:
    struct Step {
        enum class Kind {
            Say,
            SayRepeatedly,
            Hear,
            Pause,
            HangUp,
            AnswerEveryLine,
            NextClient
        } kind;
        QList<QByteArray> parts;
        qint64 amount = 0;
    };

    void serve();
    // Accepts a client and, over TLS, shakes hands; false when none came.
    bool accept();
    void closeConnection();
    // Says the parts in one write; false when the client is gone.
    bool send(const QList<QByteArray>& parts);
    bool readLine();
    // What the client sent next, plain or decrypted; 0 when it hung up.
    qint64 receive(char* buffer, qint64 size);
    // Moves the client's TLS bytes from the socket into the TLS input.
    bool receiveTls();

    std::vector<Step> steps_;
    SSL_CTX* tls_ = nullptr;
    SSL* ssl_ = nullptr;
    int connection_ = -1;
    std::atomic<int> clientCount_ = 0;
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    QByteArray pendingInput_;
    QList<QByteArray> lines_;
    QList<int> repliesBefore_;
    int repliesSent_ = 0;
    qint64 repeatedBytesTaken_ = 0;
    int repliesBeforeInput_ = 0; // replies played when the buffered input arrived
};

} // namespace brindle::test
