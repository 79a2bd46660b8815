#include "support/ProgramTest.h"

#include <QTcpServer>
#include <csignal>

namespace brindle::test {
namespace {

using EndDuringCheckTest = ProgramTest;

TEST_F(EndDuringCheckTest, ClosingWhileTheServerKeepsSilentEndsAtOnceAndSaves) {
    // Accepts connections but never sends a greeting; the check waits for one
    // far longer than this test gives the program to end.
    QTcpServer silentServer;
    ASSERT_TRUE(silentServer.listen(QHostAddress::LocalHost));
    program.setPop3Server("127.0.0.1:" + QByteArray::number(silentServer.serverPort()));
    const XWindows::Id window = startProgram();
    ASSERT_NE(window, 0u);

    ASSERT_TRUE(windows.chooseMenuItem(window, MailCheck));
    ASSERT_TRUE(silentServer.waitForNewConnection(20000)) << "the check did not connect";
    windows.close(window);

    ASSERT_TRUE(endedCleanly()) << "after closing its window";
    const QByteArray saved = program.mainSettings();
    // "未設定" in Shift-JIS.
    EXPECT_TRUE(saved.contains("\r\nNAME=\x96\xa2\x90\xdd\x92\xe8\r\n")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\r\nNUMBER3=0\r\n")) << saved.toStdString();
}

TEST_F(EndDuringCheckTest, ATerminationSignalEndsAndSavesLikeTheCloseBox) {
    ASSERT_NE(startProgram(), 0u);
    ASSERT_EQ(::kill(static_cast<pid_t>(program.process().process().processId()), SIGTERM), 0);

    ASSERT_TRUE(endedCleanly()) << "after SIGTERM";
    EXPECT_TRUE(program.mainSettings().contains("\r\nNUMBER3=0\r\n"));
}

} // namespace
} // namespace brindle::test
