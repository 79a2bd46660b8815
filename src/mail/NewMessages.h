#pragma once

#include "mail/MailHeader.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace brindle {

class MailSession;

// What a check found of the messages no check of the mailbox had seen before.
struct NewMessages {
    // The most headers one check reads.
    static constexpr int MaxHeadersRead = 20;

    // The mailbox, as the seen-messages file names it.
    QString mailbox;
    // The ids of the messages in the mailbox now, oldest first (the newest
    // SeenMessages::MaxIdsPerMailbox).
    QStringList present;
    // Those of them no check had seen, oldest first.
    QStringList added;
    // The headers of the newest MaxHeadersRead of them, newest first; a
    // message whose header could not be read is left out.
    QList<MailHeader> headers;
    // The ids to keep as seen once the check is told: every id present, behind
    // those seen before that have gone.
    QStringList seen;

    // How the seen-messages file names the mailbox of this server and ID.
    static QString mailboxName(const QString& server, const QString& id);
    // Reads which messages of the logged-in session are new, given the ids
    // seen before, and their headers; nullopt when the server names no
    // messages. Writes nothing: sessions of several mailboxes run at once.
    static std::optional<NewMessages> read(MailSession& session, const QString& mailbox,
                                           const QStringList& seenBefore);
};

} // namespace brindle
