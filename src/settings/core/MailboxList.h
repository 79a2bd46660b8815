#pragma once

#include "settings/core/Mailbox.h"
#include "settings/core/ProfileFile.h"

#include <QList>

namespace brindle {

// The mailboxes after the first, in their own file beside the account file
// (the first is the one of the server and account files, which stay as they
// are). The file is written only when a mailbox is added, changed or removed.
class MailboxList {
public:
    // The first mailbox and these together.
    static constexpr int MaxMailboxes = 8;
    static constexpr int MaxMore = MaxMailboxes - 1;

    explicit MailboxList(ProfileFile file) : file_(std::move(file)) {}

    // In the user's order; a missing file has none. Entries without a server
    // or an ID are left out, and any past MaxMore.
    QList<Mailbox> read() const;
    // Rewrites the whole list in one write (at most MaxMore); false, and the
    // file as it was, when a value cannot be stored whole.
    bool write(const QList<Mailbox>& mailboxes) const;

private:
    ProfileFile file_;
};

} // namespace brindle
