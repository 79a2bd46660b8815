// Writes one key into any INI file and reads back: a value written is read as
// written (unless blanks or quotes around it are dropped by the reading rules),
// another key keeps its value, and a refused write leaves the file as it was.
#include "settings/core/Cp932.h"
#include "settings/core/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>

using brindle::ProfileFile;

namespace {

QString consumeName(FuzzedDataProvider& input) {
    const std::string bytes = input.ConsumeRandomLengthString(24);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

bool sameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// A value the reading rules give back unchanged.
bool readsBackAsWritten(const QString& value) {
    const auto isBlank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f';
    };
    if (value.isEmpty() || isBlank(value.front()) || isBlank(value.back())) {
        return false;
    }
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return false;
    }
    const std::optional<QByteArray> bytes = brindle::Cp932::encode(value);
    return bytes && bytes->size() <= ProfileFile::MaxValueBytes;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Every write is synced to disk: in memory that costs nothing.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/brindle-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/brindle-fuzz-XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("fuzz.ini"));
    FuzzedDataProvider input(data, size);
    const QString section = consumeName(input);
    const QString key = consumeName(input);
    const QString value = consumeName(input);
    const QString otherSection = consumeName(input);
    const QString otherKey = consumeName(input);
    const std::string fileBytes = input.ConsumeRemainingBytesAsString();
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::abort();
        }
        file.write(fileBytes.data(), qint64(fileBytes.size()));
    }

    const ProfileFile profile(path);
    const QString absent = QStringLiteral("\x01absent");
    const QString otherBefore = profile.readString(otherSection, otherKey, absent);
    const int otherNumberBefore = profile.readInt(otherSection, otherKey);
    if (!profile.writeString(section, key, value)) {
        if (contents(path) != QByteArray::fromStdString(fileBytes)) {
            std::abort();
        }
        return 0;
    }
    if (readsBackAsWritten(value) && profile.readString(section, key, absent) != value) {
        std::abort();
    }
    if (!(sameName(section, otherSection) && sameName(key, otherKey)) &&
        (profile.readString(otherSection, otherKey, absent) != otherBefore ||
         profile.readInt(otherSection, otherKey) != otherNumberBefore)) {
        std::abort();
    }
    return 0;
}
