#pragma once

#include "settings/core/ProfileFile.h"
#include "settings/core/SeenMessages.h"
#include "settings/core/SettingsLocation.h"

#include <QString>

namespace brindle {

// The program's files: data files beside the program by their backslash-led
// suffix, and the settings files where the settings live.
class ProgramFiles {
public:
    ProgramFiles(QString programFolder, SettingsLocation settings)
        : folder_(std::move(programFolder)), settings_(std::move(settings)) {}

    QString file(const QString& backslashSuffix) const;
    // A bare name in the working directory, or a full path.
    const QString& serverFile() const { return settings_.serverFile; }
    ProfileFile mainSettings() const;
    // Owner-only: it holds the password in plain text.
    ProfileFile accountSettings() const;
    // Owner-only, like the account file.
    ProfileFile mailboxSettings() const;
    SeenMessages seenMessages() const;

private:
    QString folder_;
    SettingsLocation settings_;
};

} // namespace brindle
