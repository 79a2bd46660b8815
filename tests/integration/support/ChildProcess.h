#pragma once

#include <QProcess>
#include <chrono>

namespace brindle::test {

// A process started in a session of its own, so that it and every helper it
// starts can be found and ended together through the process group.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    bool start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment, const QString& workingFolder = {});
    QProcess& process() { return process_; }
    // Whether the child or any process of its group is still alive (zombies excepted).
    bool groupRunning() const;
    // How many processes of its group are alive (zombies excepted).
    int groupProcesses() const;
    bool waitForGroupEnd(std::chrono::milliseconds limit);
    // Asks the group to end, then kills what is left.
    void stop();

private:
    QProcess process_;
    qint64 group_ = 0;
};

} // namespace brindle::test
