#pragma once

#include "mail/MailClient.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace brindle::test {

// What one mail check found.
struct MailboxCheck {
    bool connected = false;
    int count = 0; // -1 when the login failed
    QString error;
    QList<QByteArray> messages;
    QStringList subjects;
    QList<qint64> sizes; // -1 where the size was unknown
};

// One mail check as the program makes it: open, log in, then the header, the
// size and the whole of every message.
MailboxCheck checkMailbox(MailClient& client, const QString& server, const QString& id,
                          const QString& password, MailSession::Authentication authentication);

} // namespace brindle::test
