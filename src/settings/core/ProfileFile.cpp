#include "settings/core/ProfileFile.h"

#include "settings/core/Cp932.h"

#include <QByteArrayView>
#include <QFileInfo>
#include <QtGlobal>
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace brindle {

namespace {

// One line of the file as byte offsets: its text [begin, end) without the line
// end, and where the next line begins.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

Line lineAt(const QByteArray& file, qsizetype begin) {
    const qsizetype newline = file.indexOf('\n', begin);
    Line line{begin, newline < 0 ? file.size() : newline, newline < 0 ? file.size() : newline + 1};
    if (line.end > begin && file[line.end - 1] == '\r') {
        --line.end;
    }
    return line;
}

// The name in a "[name]" line: up to its last ']' that is a character of its own
// (the second byte of a double-byte character can be ']').
QByteArrayView sectionName(QByteArrayView line) {
    qsizetype close = line.size();
    for (qsizetype i = 1; i < line.size(); i += Cp932::isLeadByte(line[i]) ? 2 : 1) {
        if (line[i] == ']') {
            close = i;
        }
    }
    return line.sliced(1, close - 1).trimmed();
}

bool sameName(QByteArrayView bytes, const QString& name) {
    return Cp932::decode(bytes).compare(name.trimmed(), Qt::CaseInsensitive) == 0;
}

// Where a key stands in its section; the first section of that name counts.
struct Entry {
    bool sectionFound = false;
    qsizetype sectionEnd = 0; // just after the section's last non-blank line
    std::optional<Line> line; // the key's line, when present
    QByteArrayView value;     // its value without surrounding blanks
};

Entry find(const QByteArray& file, const QString& section, const QString& key) {
    Entry entry;
    bool inSection = false;
    for (qsizetype begin = 0; begin < file.size();) {
        const Line line = lineAt(file, begin);
        const QByteArrayView text =
            QByteArrayView(file).sliced(line.begin, line.end - line.begin).trimmed();
        if (text.startsWith('[')) {
            if (inSection) {
                break;
            }
            inSection = sameName(sectionName(text), section);
            if (inSection) {
                entry.sectionFound = true;
                entry.sectionEnd = line.next;
            }
        } else if (inSection && !text.isEmpty()) {
            entry.sectionEnd = line.next;
            const qsizetype equals = text.indexOf('=');
            if (!text.startsWith(';') && equals > 0 &&
                sameName(text.first(equals).trimmed(), key)) {
                entry.line = line;
                entry.value = text.sliced(equals + 1).trimmed();
                return entry;
            }
        }
        begin = line.next;
    }
    return entry;
}

QByteArrayView withoutQuotes(QByteArrayView value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.sliced(1, value.size() - 2);
    }
    return value;
}

// The whole number at the start of a stored value: a sign and digits, clamped
// to the range of int.
int leadingInt(QByteArrayView digits) {
    const bool negative = digits.startsWith('-');
    if (negative || digits.startsWith('+')) {
        digits = digits.sliced(1);
    }
    constexpr qint64 Limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 number = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9') {
            break;
        }
        number = std::min(Limit, number * 10 + (digit - '0'));
    }
    return int(std::clamp(negative ? -number : number, qint64(std::numeric_limits<int>::min()),
                          qint64(std::numeric_limits<int>::max())));
}

// The key's value as stored, without blanks and quotes; nothing when the file or
// the key is missing.
std::optional<QByteArray> storedValue(const QString& path, const QString& section,
                                      const QString& key) {
    const std::optional<QByteArray> file = StoredFile::read(path);
    if (!file) {
        return std::nullopt;
    }
    const Entry entry = find(*file, section, key);
    if (!entry.line) {
        return std::nullopt;
    }
    return withoutQuotes(entry.value).toByteArray();
}

bool holdsLineBreak(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

bool isSectionName(const QString& name) {
    return !name.trimmed().isEmpty() && !holdsLineBreak(name) && !name.contains(u']');
}

bool isKeyName(const QString& name) {
    const QString trimmed = name.trimmed();
    return !trimmed.isEmpty() && !holdsLineBreak(name) && !name.contains(u'=') &&
           !trimmed.startsWith(u'[') && !trimmed.startsWith(u';');
}

// Sets the key in the file's bytes; false when the names or the value cannot be
// stored faithfully.
bool setKey(QByteArray& file, const QString& section, const QString& key, const QString& value) {
    if (!isSectionName(section) || !isKeyName(key) || holdsLineBreak(value)) {
        return false;
    }
    const std::optional<QByteArray> sectionBytes = Cp932::encode(section.trimmed());
    const std::optional<QByteArray> keyBytes = Cp932::encode(key.trimmed());
    const std::optional<QByteArray> valueBytes = Cp932::encode(value);
    if (!sectionBytes || !keyBytes || !valueBytes) {
        return false;
    }
    const QByteArray keyLine = *keyBytes + '=' + *valueBytes;
    const Entry entry = find(file, section, key);
    if (entry.line) {
        file.replace(entry.line->begin, entry.line->end - entry.line->begin, keyLine);
    } else {
        const qsizetype at = entry.sectionFound ? entry.sectionEnd : file.size();
        const QByteArray lineEnd = at > 0 && file[at - 1] != '\n' ? "\r\n" : "";
        const QByteArray header = entry.sectionFound ? QByteArray() : '[' + *sectionBytes + "]\r\n";
        file.insert(at, lineEnd + header + keyLine + "\r\n");
    }
    return true;
}

// Every line ends in CR LF, the last one too, as the Windows profile functions
// write a file back.
QByteArray withCrLfLineEnds(const QByteArray& file) {
    QByteArray result;
    result.reserve(file.size() + file.size() / 8 + 2);
    for (qsizetype begin = 0; begin < file.size();) {
        const Line line = lineAt(file, begin);
        result.append(QByteArrayView(file).sliced(line.begin, line.end - line.begin));
        result.append("\r\n");
        begin = line.next;
    }
    return result;
}

} // namespace

ProfileFile::ProfileFile(QString path, StoredFile::Access access)
    : path_(std::move(path)), access_(access) {}

int ProfileFile::readInt(const QString& section, const QString& key) const {
    const std::optional<QByteArray> value = storedValue(path_, section, key);
    return value ? leadingInt(*value) : 0;
}

int ProfileFile::intReadBack(const QString& value) {
    const QByteArray bytes = Cp932::encode(value).value_or(value.toLatin1());
    return leadingInt(withoutQuotes(QByteArrayView(bytes).trimmed()));
}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& defaultText) const {
    const std::optional<QByteArray> value = storedValue(path_, section, key);
    if (!value || value->isEmpty()) {
        return defaultText;
    }
    return Cp932::decode(
        QByteArrayView(*value).first(Cp932::characterBoundary(*value, MaxValueBytes)));
}

bool ProfileFile::holdsWhole(const QString& value) {
    const std::optional<QByteArray> bytes = Cp932::encode(value);
    return bytes && bytes->size() <= MaxValueBytes && !holdsLineBreak(value);
}

bool ProfileFile::writeString(const QString& section, const QString& key,
                              const QString& value) const {
    return writeStrings(section, {{key, value}});
}

bool ProfileFile::writeStrings(const QString& section,
                               const QList<std::pair<QString, QString>>& keysAndValues) const {
    QByteArray file;
    if (QFileInfo::exists(path_)) {
        std::optional<QByteArray> old = StoredFile::read(path_);
        if (!old) {
            return false; // unreadable: replacing it would lose its other settings
        }
        file = std::move(*old);
    }
    for (const auto& [key, value] : keysAndValues) {
        if (!setKey(file, section, key, value)) {
            qWarning("Not written to %s: [%s] %s is no valid name, or its value holds a line "
                     "break or a character Shift-JIS cannot hold",
                     qUtf8Printable(path_), qUtf8Printable(section), qUtf8Printable(key));
            return false;
        }
    }
    return StoredFile::replace(path_, withCrLfLineEnds(file), access_);
}

} // namespace brindle
