#pragma once

#include "ChildProcess.h"
#include "support/TempFolder.h"

namespace brindle::test {

// A private copy of the built program and its data files in a temporary
// program folder, with a temporary working folder to start it in.
class ProgramCopy {
public:
    enum class Settings {
        None,   // a first start: no settings folder, no mail server file
        Account // a saved account and a mail server file, so no dialog opens
    };
    explicit ProgramCopy(Settings settings);

    bool ready() const { return ready_; }
    const QString& folder() const { return programFolder_.path(); }
    const QString& workingFolder() const { return workingFolder_.path(); }
    QByteArray mainSettings() const;
    // Before start(): replace the saved settings. The texts are written as they are.
    void setMainSettings(const QByteArray& contents);
    void setAccount(const QByteArray& id, const QByteArray& password);
    void setPop3Server(const QByteArray& server);

    bool start(const QProcessEnvironment& environment);
    ChildProcess& process() { return process_; }

private:
    TempFolder programFolder_;
    TempFolder workingFolder_;
    ChildProcess process_;
    bool ready_ = false;
};

} // namespace brindle::test
