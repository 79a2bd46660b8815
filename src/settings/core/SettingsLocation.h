#pragma once

#include <QString>

namespace brindle {

// Where the settings files live. A program folder the user may write keeps
// them as always: ★MailData beside the program, lunaro.ini in the working
// directory. An installed program (a folder under /usr or /opt) keeps all three
// in the user's configuration folder instead, so nothing lands in the home
// folder or the install.
struct SettingsLocation {
    // The folder that holds ★MailData, without a trailing separator.
    QString folder;
    // The mail server file: a bare name, found in the working directory at the
    // moment of access, or a full path.
    QString serverFile;

    // The layout of a program folder the user may write.
    static SettingsLocation besideProgram(const QString& programFolder);
    // configHome + "/brindle", with its ★MailData: each folder that is missing
    // is created readable by its owner only.
    static SettingsLocation perUser(const QString& configHome);
    // besideProgram when the user may write the program folder, else perUser.
    static SettingsLocation forProgram(const QString& programFolder, const QString& configHome);
};

} // namespace brindle
