#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <sys/stat.h>

namespace brindle::test {

// The whole file, or nothing when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The permission bits of a file or folder (0700 for owner-only), -1 when it is missing.
inline int permissionBits(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777)
                                                                     : -1;
}

} // namespace brindle::test
