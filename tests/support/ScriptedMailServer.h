#pragma once

#include <QByteArray>
#include <QList>
#include <thread>
#include <vector>

namespace brindle::test {

// A loopback TCP server on its own thread that plays a transcript to one
// client and records every line the client sends. After the last step it keeps
// recording until the client hangs up. A client that hangs up ends the play;
// bytes it sent without a line end count as its last line.
class ScriptedMailServer {
public:
    ScriptedMailServer();
    ~ScriptedMailServer();

    // Transcript steps, played in order once a client connects.
    ScriptedMailServer& say(const QByteArray& bytes);
    ScriptedMailServer& hear(int lines = 1);
    ScriptedMailServer& pause(int milliseconds);
    ScriptedMailServer& hangUp();
    // A server that answers lines in order: hear one, say the answer.
    ScriptedMailServer& answer(const QByteArray& reply) { return hear().say(reply); }
    // The last step: answers every further line with reply until the client hangs up.
    ScriptedMailServer& answerEveryLine(const QByteArray& reply);

    void start();
    quint16 port() const { return port_; }
    // The server field for this server with scheme, e.g. "pop3://127.0.0.1:port".
    QString address(const char* scheme = "pop3") const;
    // Waits for the session to end and returns the client's lines, without line ends.
    QList<QByteArray> clientLines();
    // For each client line, how many say() steps had been played when it arrived.
    QList<int> repliesBeforeEachLine();

private:
    struct Step {
        enum class Kind { Say, Hear, Pause, HangUp, AnswerEveryLine } kind;
        QByteArray bytes;
        int amount = 0;
    };

    void serve();
    bool readLine(int connection);

    std::vector<Step> steps_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    QByteArray pendingInput_;
    QList<QByteArray> lines_;
    QList<int> repliesBefore_;
    int repliesSent_ = 0;
    int repliesBeforeInput_ = 0; // replies played when the buffered input arrived
};

} // namespace brindle::test
