#include "settings/core/StoredFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace brindle {

std::optional<QByteArray> StoredFile::read(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxBytes) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QByteArray bytes = file.read(MaxBytes);
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
