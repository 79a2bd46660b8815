#include "ChildProcess.h"

#include "Polling.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <unistd.h>

namespace brindle::test {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

ChildProcess::~ChildProcess() {
    stop();
}

bool ChildProcess::start(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment, const QString& workingFolder) {
    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(workingFolder);
    process_.setChildProcessModifier([] { ::setsid(); });
    process_.start();
    if (!process_.waitForStarted(10000)) {
        return false;
    }
    group_ = process_.processId();
    return true;
}

bool ChildProcess::groupRunning() const {
    return groupProcesses() > 0;
}

int ChildProcess::groupProcesses() const {
    int count = 0;
    if (group_ == 0) {
        return count;
    }
    const QStringList entries = QDir(u"/proc"_s).entryList(QDir::Dirs);
    for (const QString& entry : entries) {
        QFile stat(u"/proc/%1/stat"_s.arg(entry));
        if (!stat.open(QIODevice::ReadOnly)) {
            continue;
        }
        // Fields after the parenthesised command name: state, parent, group, ...
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields[0] != "Z" && fields[2].toLongLong() == group_) {
            ++count;
        }
    }
    return count;
}

bool ChildProcess::waitForGroupEnd(std::chrono::milliseconds limit) {
    return pollUntil(
        [this] {
            if (process_.state() != QProcess::NotRunning) {
                process_.waitForFinished(50);
            }
            return process_.state() == QProcess::NotRunning && !groupRunning();
        },
        limit);
}

void ChildProcess::stop() {
    if (group_ == 0) {
        return;
    }
    ::kill(static_cast<pid_t>(-group_), SIGTERM);
    if (!waitForGroupEnd(3s)) {
        ::kill(static_cast<pid_t>(-group_), SIGKILL);
        waitForGroupEnd(5s);
    }
    group_ = 0;
}

} // namespace brindle::test
