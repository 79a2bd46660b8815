#pragma once

#include "mail/NewMessages.h"

#include <QObject>
#include <QStringList>

namespace brindle {

class DesktopNotifications;

// The desktop notification of new mail: for each check that found mail no
// check had seen, one notice in place of the one before, naming up to
// MaxLines of the messages ("sender — subject", newest first) and how many
// more there are. The notice closes once mail it names has left the mailbox
// (deleted, or read elsewhere where the count is of unseen mail).
class NewMailNotices : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxLines = 5;

    explicit NewMailNotices(DesktopNotifications& notifications, QObject* parent = nullptr);

    // What a check found; new mail is told only when wanted.
    void tell(const NewMessages& news, bool wanted);

signals:
    // The notice shown was clicked.
    void clicked();

private:
    // The notice's lines for these messages.
    static QStringList lines(const NewMessages& news);
    void forget(uint id);

    DesktopNotifications& notifications_;
    uint shown_ = 0;
    QStringList named_; // the ids of the messages the notice shown tells of
};

} // namespace brindle
