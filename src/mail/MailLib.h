#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>

namespace brindle {

// Header fields of one message, filled by the status and fetch calls.
struct MailStatus {
    QString from;
    QString to;
    QString subject;
    QString date;
};

// The mail library boundary: the ten operations a mail check uses.
// Handles are non-negative on success; -1 means no connection.
class MailLib {
public:
    // What a call on a handle returns once its session has ended (the server hung
    // up, a time-out, the deadline): no later call on that handle can succeed.
    static constexpr int SessionEnded = -2;

    virtual ~MailLib() = default;

    virtual int MailLibInitializeWinSock() = 0;
    virtual int MailLibSetOption(int option, int value) = 0;
    // Returns a session handle, or -1 when no connection can be made at all.
    virtual int MailLibPop3Connect(const QString& server) = 0;
    // apopFlag: -1 asks for APOP, 0 for USER/PASS. Returns the message count,
    // or a negative value on failure (the reason is kept for MailLibGetMessage).
    virtual int MailLibPop3Authenticate(int handle, const QString& id, const QString& password,
                                        int apopFlag) = 0;
    virtual int MailLibPop3GetMailStatus(int handle, int number, MailStatus& status) = 0;
    // Size in bytes, or a negative value when unknown.
    virtual qint64 MailLibPop3GetMailSize(int handle, int number) = 0;
    virtual int MailLibPop3GetMail(int handle, int number, MailStatus& status,
                                   QByteArray& message) = 0;
    // The last error text for the user; may hold a NUL (see TrimNull).
    virtual QString MailLibGetMessage() = 0;
    virtual int MailLibPop3Close(int handle) = 0;
    virtual int MailLibEndWinSock() = 0;
};

// The most messages one check fetches. A check reacts to the count alone and
// throws what it fetches away, so fetching more would only cost time: with this
// bound a count claimed by the server (up to 2^31-1) cannot hold a check for
// days. 1,000 messages of 20 KB take about 0.1 s over loopback (bench/pop3).
inline constexpr int MaxMessagesFetched = 1000;

// Fetches the status, size and whole of messages 1 to count, at most
// MaxMessagesFetched, as a check does; the results are not used. Ends at once
// when the session has ended.
inline void FetchMessages(MailLib& library, int handle, int count) {
    MailStatus status;
    QByteArray message;
    const int last = std::min(count, MaxMessagesFetched);
    for (int number = 1; number <= last; ++number) {
        library.MailLibPop3GetMailStatus(handle, number, status);
        library.MailLibPop3GetMailSize(handle, number);
        if (library.MailLibPop3GetMail(handle, number, status, message) == MailLib::SessionEnded) {
            return;
        }
    }
}

// The text up to, not including, its first NUL character.
inline QString TrimNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

} // namespace brindle
