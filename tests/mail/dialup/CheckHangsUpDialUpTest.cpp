#include "mail/dialup/NetworkManagerDialUp.h"
#include "settings/SetForm.h"
#include "shell/MsgForm.h"
#include "support/MainFormFixture.h"

#include "FakeNetworkManager.h"
#include "PrivateBus.h"
#include "StandInNetworkManager.h"

#include <QCheckBox>

namespace brindle::test {
namespace {

// The main window's mail check on fakes, except that the hang-up goes through
// the real NetworkManager client to a stand-in service on a private bus.
class CheckHangsUpDialUpTest : public MainFormFixture {
protected:
    void SetUp() override { ASSERT_TRUE(bus_.connection().isConnected()); }

    void TearDown() override {
        form.reset(); // before the bus it talks to goes away
        service_.stop();
    }

    // Two dial-up lines with an Ethernet link listed between them; the service
    // numbers them from the last up: gsm 3, Ethernet 2, PPPoE 1.
    void serveTwoDialUpLinesAroundEthernet() {
        ASSERT_TRUE(service_.start(bus_.address(), {"gsm", "802-3-ethernet", "pppoe"}));
    }

    // Starts the program with a saved account, an empty mailbox and the hang-up
    // option as stored in the main settings file.
    MainForm& startProgram(const QByteArray& serverLines, bool hangUp) {
        writeServerFile(serverLines);
        writeAccountIni("[EXEINI]\nNAME=taro\nNAME2=secret\n");
        writeMainIni(hangUp ? "[EXEINI]\nNUMBER=1\n" : "[EXEINI]\nNUMBER=0\n");
        Platform platform = makeFakePlatform(programFolder.path(), fakes);
        platform.dialUpLinks = std::make_unique<NetworkManagerDialUp>(bus_.connection());
        fakes.dialUpLinks = nullptr; // gone with the slot it held
        form = std::make_unique<MainForm>(std::move(platform));
        fakes.mailClient->messageCount = 0;
        fakes.mailClient->calls.clear();
        EXPECT_EQ(form->setForm->Check1->isChecked(), hangUp);
        return *form;
    }

    QStringList deactivated() const { return service_.deactivated(); }

    void expectNothingShown() const {
        EXPECT_TRUE(fakes.messageBoxes->shown.empty());
        EXPECT_FALSE(form->msgForm.exists());
    }

    static QString active(qsizetype number) { return FakeNetworkManager::activePath(number); }

    const QStringList emptyMailboxSession{"open mail.example", "log in taro secret USER", "close"};
    PrivateBus bus_;
    StandInNetworkManager service_;
};

TEST_F(CheckHangsUpDialUpTest, CheckOfAnEmptyMailboxEndsBothDialUpLinesInOrder) {
    serveTwoDialUpLinesAroundEthernet();
    startProgram("POP3=mail.example\n", true).mcheck_Click();
    EXPECT_EQ(fakes.mailClient->calls, emptyMailboxSession);
    EXPECT_EQ(deactivated(), QStringList({active(3), active(1)}));
    expectNothingShown();
}

TEST_F(CheckHangsUpDialUpTest, CheckWithoutAServerStillEndsBothDialUpLines) {
    serveTwoDialUpLinesAroundEthernet();
    startProgram("SMTP=smtp.example\n", true).mcheck_Click();
    EXPECT_TRUE(fakes.mailClient->calls.isEmpty());
    EXPECT_EQ(deactivated(), QStringList({active(3), active(1)}));
    expectNothingShown();
}

TEST_F(CheckHangsUpDialUpTest, OptionOffLeavesEveryConnectionUp) {
    serveTwoDialUpLinesAroundEthernet();
    startProgram("POP3=mail.example\n", false).mcheck_Click();
    EXPECT_EQ(fakes.mailClient->calls, emptyMailboxSession);
    EXPECT_EQ(deactivated(), QStringList());
    // The service is still there and still has both lines up.
    EXPECT_EQ(NetworkManagerDialUp(bus_.connection()).active(),
              QStringList({active(3), active(1)}));
}

TEST_F(CheckHangsUpDialUpTest, WithoutNetworkManagerTheCheckEndsQuietly) {
    MainForm& main = startProgram("POP3=mail.example\n", true);
    main.mcheck_Click();
    EXPECT_EQ(fakes.mailClient->calls, emptyMailboxSession);
    expectNothingShown();
    // The check has ended: the next one runs in full.
    main.mcheck_Click();
    EXPECT_EQ(fakes.mailClient->calls, emptyMailboxSession + emptyMailboxSession);
}

} // namespace
} // namespace brindle::test
