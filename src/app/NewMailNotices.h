#pragma once

#include "mail/NewMessages.h"

#include <QHash>
#include <QObject>
#include <QStringList>

namespace brindle {

class DesktopNotifications;

// The desktop notification of new mail: for each check that found mail no
// check had seen, in any mailbox, one notice in place of the one before,
// naming up to MaxLines of the messages ("sender — subject", newest first)
// and how many more there are. The notice closes once mail it names has left
// its mailbox (deleted, or read elsewhere where the count is of unseen mail).
class NewMailNotices : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxLines = 5;

    explicit NewMailNotices(DesktopNotifications& notifications, QObject* parent = nullptr);

    // What a check found in the mailboxes it read; new mail is told only
    // when wanted.
    void tell(const QList<NewMessages>& mailboxes, bool wanted);

signals:
    // The notice shown was clicked.
    void clicked();

private:
    // The notice's lines for the new messages of these mailboxes.
    static QStringList lines(const QList<NewMessages>& mailboxes);
    // Whether a message the notice shown tells of has left a mailbox read.
    bool namedMailGone(const QList<NewMessages>& mailboxes) const;
    void forget(uint id);

    DesktopNotifications& notifications_;
    uint shown_ = 0;
    // The ids of the messages the notice shown tells of, by mailbox.
    QHash<QString, QStringList> named_;
};

} // namespace brindle
