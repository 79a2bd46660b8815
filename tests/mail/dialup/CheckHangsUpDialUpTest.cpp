#include "app/NoticeBoard.h"
#include "mail/dialup/NetworkManagerDialUp.h"
#include "settings/SettingsWindow.h"
#include "support/MainWindowFixture.h"

#include "FakeNetworkManager.h"
#include "support/PrivateBus.h"
#include "StandInNetworkManager.h"

#include <QCheckBox>

namespace brindle::test {
namespace {

// The main window's mail check on fakes, except that the hang-up goes through
// the real NetworkManager client to a stand-in service on a private bus.
class CheckHangsUpDialUpTest : public MainWindowFixture {
protected:
    void SetUp() override { ASSERT_TRUE(bus_.connection().isConnected()); }

    void TearDown() override {
        mainWindow.reset(); // before the bus it talks to goes away
        service_.stop();
    }

    // Two dial-up lines with an Ethernet link listed between them; the service
    // numbers them from the last up: gsm 3, Ethernet 2, PPPoE 1.
    void serveTwoDialUpLinesAroundEthernet() {
        ASSERT_TRUE(service_.start(bus_.address(), {"gsm", "802-3-ethernet", "pppoe"}));
    }

    // Starts the program with a saved account, an empty mailbox and the hang-up
    // option as stored in the main settings file.
    MainWindow& startProgram(const QByteArray& serverLines, bool hangUp) {
        writeServerFile(serverLines);
        writeAccountIni("[EXEINI]\nNAME=taro\nNAME2=secret\n");
        writeMainIni(hangUp ? "[EXEINI]\nNUMBER=1\n" : "[EXEINI]\nNUMBER=0\n");
        Platform platform = makeFakePlatform(programFolder.path(), fakes);
        platform.dialUpLinks = std::make_unique<NetworkManagerDialUp>(bus_.connection());
        fakes.dialUpLinks = nullptr; // gone with the slot it held
        mainWindow = std::make_unique<MainWindow>(std::move(platform));
        fakes.mailClient->messageCount = 0;
        fakes.mailClient->calls.clear();
        EXPECT_EQ(mainWindow->settingsWindow->hangUpBox->isChecked(), hangUp);
        return *mainWindow;
    }

    QStringList deactivated() const { return service_.deactivated(); }

    void expectNothingShown() const {
        EXPECT_TRUE(fakes.messageBoxes->shown.empty());
        EXPECT_FALSE(mainWindow->noticeBoard.exists());
    }

    static QString active(qsizetype number) { return FakeNetworkManager::activePath(number); }

    const QStringList emptyMailboxSession{"open mail.example", "log in taro secret USER", "close"};
    PrivateBus bus_;
    StandInNetworkManager service_;
};

TEST_F(CheckHangsUpDialUpTest, CheckOfAnEmptyMailboxEndsBothDialUpLinesInOrder) {
    serveTwoDialUpLinesAroundEthernet();
    startProgram("POP3=mail.example\n", true).mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls, emptyMailboxSession);
    EXPECT_EQ(deactivated(), QStringList({active(3), active(1)}));
    expectNothingShown();
}

TEST_F(CheckHangsUpDialUpTest, CheckWithoutAServerStillEndsBothDialUpLines) {
    serveTwoDialUpLinesAroundEthernet();
    startProgram("SMTP=smtp.example\n", true).mailCheck.checkMail();
    EXPECT_TRUE(fakes.mailClient->calls.isEmpty());
    EXPECT_EQ(deactivated(), QStringList({active(3), active(1)}));
    expectNothingShown();
}

TEST_F(CheckHangsUpDialUpTest, OptionOffLeavesEveryConnectionUp) {
    serveTwoDialUpLinesAroundEthernet();
    startProgram("POP3=mail.example\n", false).mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls, emptyMailboxSession);
    EXPECT_EQ(deactivated(), QStringList());
    // The service is still there and still has both lines up.
    EXPECT_EQ(NetworkManagerDialUp(bus_.connection()).active(),
              QStringList({active(3), active(1)}));
}

TEST_F(CheckHangsUpDialUpTest, WithoutNetworkManagerTheCheckEndsQuietly) {
    MainWindow& main = startProgram("POP3=mail.example\n", true);
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls, emptyMailboxSession);
    expectNothingShown();
    // The check has ended: the next one runs in full.
    main.mailCheck.checkMail();
    EXPECT_EQ(fakes.mailClient->calls, emptyMailboxSession + emptyMailboxSession);
}

} // namespace
} // namespace brindle::test
