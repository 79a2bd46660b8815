// Reads the mailbox list from any file: at most seven mailboxes, each with a
// server and an ID; a list that can be written back reads back the same.
#include "settings/core/MailboxList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

using brindle::MailboxList;
using brindle::ProfileFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/brindle-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/brindle-fuzz-XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("mailboxes.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::abort();
        }
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const MailboxList list{ProfileFile(path, brindle::StoredFile::Access::OwnerOnly)};
    const QList<brindle::Mailbox> read = list.read();
    if (read.size() > MailboxList::MaxMore) {
        std::abort();
    }
    for (const brindle::Mailbox& mailbox : read) {
        if (mailbox.server.isEmpty() || mailbox.id.isEmpty()) {
            std::abort();
        }
    }
    if (list.write(read) && list.read() != read) {
        std::abort();
    }
    return 0;
}
