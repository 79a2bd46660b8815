#include "support/ProgramCopy.h"

#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

namespace brindle::test {
namespace {

using namespace Qt::StringLiterals;

// Runs the program without a reachable X display; its exit and its error output.
struct Outcome {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = 0;
    QByteArray errors;
};

Outcome runWithout(const std::function<void(QProcessEnvironment&)>& changeDisplay) {
    ProgramCopy program(ProgramCopy::Settings::Account);
    EXPECT_TRUE(program.ready());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"WAYLAND_DISPLAY"_s);
    environment.remove(u"QT_QPA_PLATFORM"_s);
    changeDisplay(environment);
    EXPECT_TRUE(program.start(environment));
    QProcess& process = program.process().process();
    EXPECT_TRUE(process.waitForFinished(20000)) << "the program kept running";
    return {process.exitStatus(), process.exitCode(), process.readAllStandardError()};
}

void expectOneLineAndFailure(const Outcome& outcome) {
    EXPECT_EQ(outcome.status, QProcess::NormalExit) << "crashed";
    EXPECT_NE(outcome.exitCode, 0);
    EXPECT_EQ(outcome.errors.count('\n'), 1) << outcome.errors.toStdString();
    EXPECT_TRUE(outcome.errors.endsWith('\n')) << outcome.errors.toStdString();
    EXPECT_GT(outcome.errors.trimmed().size(), 10) << outcome.errors.toStdString();
}

TEST(NoDisplayTest, WithoutDisplaySetTheProgramSaysSoAndFails) {
    expectOneLineAndFailure(
        runWithout([](QProcessEnvironment& environment) { environment.remove(u"DISPLAY"_s); }));
}

TEST(NoDisplayTest, WithADisplayNobodyServesTheProgramSaysSoAndFails) {
    int unused = 90;
    while (QFileInfo::exists(u"/tmp/.X11-unix/X%1"_s.arg(unused))) {
        ++unused;
    }
    expectOneLineAndFailure(runWithout([unused](QProcessEnvironment& environment) {
        environment.insert(u"DISPLAY"_s, u":%1"_s.arg(unused));
    }));
}

} // namespace
} // namespace brindle::test
