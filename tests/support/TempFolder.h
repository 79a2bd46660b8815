#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace brindle::test {

// A fresh folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder();
    const QString& path() const { return path_; }
    // Path of a file inside the folder ("a/b.txt" style, forward slashes).
    QString file(const QString& relative) const;
    // Creates the sub-folder and returns its path.
    QString makeFolder(const QString& relative) const;
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace brindle::test
