#pragma once

#include <QString>
#include <QList>
#include <QStringList>
#include <utility>

namespace brindle {

// The ids of the messages the checks have seen, per mailbox, kept in one file
// beside the settings (★MailData/seen.txt) so that a new start knows them:
// for each mailbox a line "mailbox <name>", then its ids one a line, oldest
// first (ids hold no blank). Shift-JIS with CR LF like the other files;
// written whole, at once, on every change.
class SeenMessages {
public:
    static constexpr qsizetype MaxIdsPerMailbox = 5000;
    // The mailbox kept longest ago goes first.
    static constexpr qsizetype MaxMailboxes = 32;

    explicit SeenMessages(QString path) : path_(std::move(path)) {}

    // Empty for a mailbox never kept (or a file that cannot be read).
    QStringList ids(const QString& mailbox) const;
    // Keeps the last MaxIdsPerMailbox of the ids in place of what the mailbox
    // had; an id with a blank or control character is left out. False when the
    // file cannot be written.
    bool keep(const QString& mailbox, const QStringList& ids) const;
    // The same for several mailboxes, in one writing of the file.
    bool keep(const QList<std::pair<QString, QStringList>>& mailboxes) const;

private:
    QString path_;
};

} // namespace brindle
