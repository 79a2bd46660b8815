#pragma once

#include "settings/core/StoredFile.h"

#include <QList>
#include <QString>
#include <utility>

namespace brindle {

// A Windows INI file read and written by the rules of the Windows profile
// functions: "[section]" lines and "key=value" lines, names matched without regard
// to case, Shift-JIS text with CR LF line ends. Every call reads the file afresh.
class ProfileFile {
public:
    // Values longer than this many bytes are cut, between characters.
    static constexpr qsizetype MaxValueBytes = 255;

    explicit ProfileFile(QString path, StoredFile::Access access = StoredFile::Access::Default);

    const QString& path() const { return path_; }

    // The whole number at the start of the value (blanks, a sign, digits); 0 when
    // the file or key is missing or the value does not begin with a number.
    int readInt(const QString& section, const QString& key) const;
    // What readInt() gives for this value once it has been written.
    static int intReadBack(const QString& value);
    // The value, at most MaxValueBytes long; defaultText when the file or key is
    // missing or the value is empty. Blanks around it and one pair of matching
    // quotes are dropped.
    QString readString(const QString& section, const QString& key,
                       const QString& defaultText) const;
    // Sets the key, creating the file and the section when missing and leaving
    // every other setting as it was; every line is written back with CR LF.
    // Refuses (false, file untouched) a value holding a line break or a character
    // that Shift-JIS cannot hold, and a missing folder.
    bool writeString(const QString& section, const QString& key, const QString& value) const;
    // Sets several keys of one section in one write: all of them or, on any
    // refusal, none.
    bool writeStrings(const QString& section,
                      const QList<std::pair<QString, QString>>& keysAndValues) const;
    // Whether a value can be written and read back unchanged: no line break,
    // every character in Shift-JIS, at most MaxValueBytes.
    static bool holdsWhole(const QString& value);

private:
    QString path_;
    StoredFile::Access access_;
};

} // namespace brindle
