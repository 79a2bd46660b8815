#pragma once

#include "mail/MailHeader.h"

#include <QList>
#include <QStringList>
#include <optional>

namespace brindle {

class MailSession;
class SeenMessages;

// What a check found of the messages no check of the mailbox had seen before.
struct NewMessages {
    // The most headers one check reads.
    static constexpr int MaxHeadersRead = 20;

    // The ids of the messages in the mailbox now, oldest first (the newest
    // SeenMessages::MaxIdsPerMailbox).
    QStringList present;
    // Those of them no check had seen, oldest first.
    QStringList added;
    // The headers of the newest MaxHeadersRead of them, newest first; a
    // message whose header could not be read is left out.
    QList<MailHeader> headers;

    // Reads which messages of the logged-in session are new and their
    // headers, and keeps every id present as seen; nullopt when the server
    // names no messages (then nothing is kept).
    static std::optional<NewMessages> read(MailSession& session, const SeenMessages& seen,
                                           const QString& mailbox);
};

} // namespace brindle
