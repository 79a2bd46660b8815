#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace brindle {

// Whole-file reads and writes for the settings files, safe against a crash or a
// full disk in the middle of a write.
class StoredFile {
public:
    // Who may read the file. Default: a new file gets the usual permissions and an
    // existing one keeps its own. OwnerOnly: every write leaves it to its owner
    // alone, also when it was readable by others before.
    enum class Access { Default, OwnerOnly };

    // Larger files are not settings files: they are neither read nor replaced.
    static constexpr qint64 MaxBytes = 16 * 1024 * 1024;

    // The file's bytes; nothing when it is missing, not an ordinary file, too
    // large or unreadable.
    static std::optional<QByteArray> read(const QString& path);
    // Replaces the file by the bytes at once (written beside it, then renamed
    // over it). Fails when the folder is missing; never creates it.
    static bool replace(const QString& path, const QByteArray& bytes, Access access);
};

} // namespace brindle
