#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace brindle::test {

TempFolder::TempFolder() : path_(dir_.path()) {}

QString TempFolder::file(const QString& relative) const {
    return path_ + u'/' + relative;
}

QString TempFolder::makeFolder(const QString& relative) const {
    const QString folder = file(relative);
    EXPECT_TRUE(QDir().mkpath(folder)) << folder.toStdString();
    return folder;
}

void TempFolder::write(const QString& relative, const QByteArray& bytes) const {
    QFile out(file(relative));
    QDir().mkpath(QFileInfo(out).absolutePath());
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << relative.toStdString();
    out.write(bytes);
}

QByteArray TempFolder::read(const QString& relative) const {
    QFile in(file(relative));
    if (!in.open(QIODevice::ReadOnly)) {
        return {};
    }
    return in.readAll();
}

bool TempFolder::exists(const QString& relative) const {
    return QFileInfo::exists(file(relative));
}

} // namespace brindle::test
