#include "settings/core/StoredFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace brindle {

std::optional<QByteArray> StoredFile::read(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    // As many bytes as the file holds now: a buffer of that size, not of the limit.
    const qint64 size = file.size();
    if (size > MaxBytes) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError) {
        return std::nullopt;
    }
    return bytes;
}

bool StoredFile::replace(const QString& path, const QByteArray& bytes, Access access) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // Set on the new copy before any byte is written, so the text is never
    // readable by others, not even for a moment.
    if (access == Access::OwnerOnly &&
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        return false; // the unfinished temporary file goes away with `file`
    }
    file.write(bytes);
    return file.commit();
}

} // namespace brindle
