#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

namespace brindle::test {

// One run of a command-line tool to its end: its exit code (-1 when it could not
// start, crashed or outlived the limit and was killed) and its output, both channels.
struct ToolRun {
    int exitCode = -1;
    QString output;

    static ToolRun of(const QString& program, const QStringList& arguments,
                      std::chrono::seconds limit = std::chrono::seconds(60));
    bool succeeded() const { return exitCode == 0; }
};

} // namespace brindle::test
