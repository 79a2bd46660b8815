#pragma once

#include "settings/core/ProfileFile.h"

#include <QString>

namespace brindle {

// The files beside the program: data files by their backslash-led suffix and
// the two settings files.
class ProgramFiles {
public:
    explicit ProgramFiles(QString programFolder) : folder_(std::move(programFolder)) {}

    const QString& folder() const { return folder_; }
    QString file(const QString& backslashSuffix) const;
    ProfileFile mainSettings() const;
    // Owner-only: it holds the password in plain text.
    ProfileFile accountSettings() const;

private:
    QString folder_;
};

} // namespace brindle
