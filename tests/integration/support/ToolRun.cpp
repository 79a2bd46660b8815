#include "ToolRun.h"

#include <QProcess>

namespace brindle::test {

ToolRun ToolRun::of(const QString& program, const QStringList& arguments,
                    std::chrono::seconds limit) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ToolRun run;
    const bool finished =
        process.waitForFinished(static_cast<int>(std::chrono::milliseconds(limit).count()));
    if (!finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.output = QString::fromUtf8(process.readAll());
    if (finished && process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    if (!finished || process.error() == QProcess::FailedToStart) {
        run.output += QStringLiteral("\n(%1 did not run to its end)").arg(program);
    }
    return run;
}

} // namespace brindle::test
