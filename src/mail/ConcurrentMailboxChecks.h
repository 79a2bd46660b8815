#pragma once

#include "mail/MailSession.h"
#include "mail/NewMessages.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QThreadPool>
#include <optional>
#include <variant>

class QEventLoop;

namespace brindle {

class MailClient;

// Reads several mailboxes at once, their counts and new messages: each
// session lives on a thread of its own from its connection to its close,
// while the window's thread goes on handling events.
class ConcurrentMailboxChecks : public QObject {
    Q_OBJECT
public:
    // Threads at most; the check reads the first mailbox on the window's thread
    // meanwhile, so no more than four sessions are open at a time.
    static constexpr int MaxThreads = 3;

    // One mailbox with its secret: a password, or an access token for Bearer;
    // and the ids of its messages seen before.
    struct Login {
        QString server;
        QString id;
        QString secret;
        MailSession::Authentication authentication = MailSession::Authentication::UserPass;
        QStringList seen;
    };
    // What was found in a mailbox that was read.
    struct Read {
        int count = 0;
        std::optional<NewMessages> news;
    };
    using Result = std::variant<Read, MailError>;

    explicit ConcurrentMailboxChecks(MailClient& client, QObject* parent = nullptr);
    // Waits for the sessions still open (each ends by its own deadline).
    ~ConcurrentMailboxChecks() override;

    // Starts a round: a login is read on a thread, an error stands as its
    // result. Results of an earlier round that come later are dropped.
    void start(const QList<std::variant<Login, MailError>>& mailboxes);
    // Lets events run until every mailbox of the round has its result or the
    // deadline has passed: the results in order, where a mailbox that was not
    // done says that time ran out.
    QList<Result> wait(QDeadlineTimer deadline);

    // Why a mailbox could not be read when its server could not be reached.
    static MailError unreachable(const QString& server);
    // One session: connect, log in, read the messages as a check does, then
    // which are new.
    static Result read(MailClient& client, const Login& login);

private:
    void record(int round, qsizetype index, const Result& result);
    bool allDone() const;

    MailClient& client_;
    QThreadPool pool_;
    int round_ = 0;
    QList<std::optional<Result>> results_;
    QEventLoop* waiting_ = nullptr;
};

} // namespace brindle
