#include "settings/SettingsWindow.h"
#include "settings/AccountDialog.h"
#include "settings/ServerSettingsDialog.h"
#include "support/MainWindowFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle::test {
namespace {

class SettingsWindowTest : public MainWindowFixture {
protected:
    SettingsWindowTest() { writeServerFile("POP3=mail.example\n"); }

    QString stored() const { return readStored(mainIni()); }
    // Closes the settings window with its close box, lets it go and lets the
    // main window make the next one.
    void closeSettings() {
        mainWindow->settingsWindow->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::sendPostedEvents();
    }
};

TEST_F(SettingsWindowTest, EmptyingTheIntervalSwitchesCheckingOffAndWritesZeroAtOnce) {
    writeMainIni("[EXEINI]\nNUMBER2=5\n");
    MainWindow& main = start();
    ASSERT_EQ(main.intervalStateLabel->text(), QStringLiteral("ON"));

    main.settingsWindow->intervalEdit->clear();

    EXPECT_EQ(main.settingsWindow->intervalEdit->text(), QStringLiteral("0"));
    EXPECT_EQ(main.intervalStateLabel->text(), QStringLiteral("OFF"));
    EXPECT_FALSE(main.intervalOnBox->isChecked());
    EXPECT_EQ(main.intervalField->text(), QStringLiteral("0"));
    EXPECT_FALSE(main.timedChecking.countTimer().isTicking());
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNUMBER2=0\r\n"));
}

TEST_F(SettingsWindowTest, PositiveValuesArmTheCountingTimerWithoutWriting) {
    MainWindow& main = start();
    const QString before = stored();
    for (const char* typed : {"1", "15", "2.5", "1e400"}) {
        main.settingsWindow->intervalEdit->setText(QString::fromLatin1(typed));
        EXPECT_EQ(main.intervalStateLabel->text(), QStringLiteral("ON")) << typed;
        EXPECT_TRUE(main.intervalOnBox->isChecked()) << typed;
        EXPECT_EQ(main.intervalField->text(), QString::fromLatin1(typed));
        EXPECT_EQ(main.timedChecking.countTimer().interval(), 1000) << typed;
    }
    EXPECT_EQ(stored(), before);
}

TEST_F(SettingsWindowTest, LettersCountAsZeroAndAreWrittenAsTyped) {
    MainWindow& main = start();
    main.settingsWindow->intervalEdit->setText(QStringLiteral("5"));
    main.settingsWindow->intervalEdit->setText(QStringLiteral("abc"));
    EXPECT_EQ(main.intervalStateLabel->text(), QStringLiteral("OFF"));
    EXPECT_FALSE(main.timedChecking.countTimer().isTicking());
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER2=abc\r\n")));
}

TEST_F(SettingsWindowTest, NegativeValuesChangeNothingAndAreSavedOnClose) {
    MainWindow& main = start();
    main.settingsWindow->intervalEdit->setText(QStringLiteral("5"));
    main.settingsWindow->intervalEdit->setText(QStringLiteral("-3"));
    EXPECT_EQ(main.intervalStateLabel->text(), QStringLiteral("ON"));
    EXPECT_EQ(main.intervalField->text(), QStringLiteral("5"));
    EXPECT_TRUE(main.timedChecking.countTimer().isTicking());
    closeSettings();
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER2=-3\r\n")));
}

TEST_F(SettingsWindowTest, CloseSavesAndTheNextUseLoadsAFreshWindowFromTheFile) {
    MainWindow& main = start();
    main.settingsWindow.show();
    SettingsWindow* first = &main.settingsWindow.get();
    first->hangUpBox->setChecked(true);
    first->autoCloseBoardBox->setChecked(true);
    first->intervalEdit->setText(QStringLiteral("1.5"));
    closeSettings();
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNUMBER2=1.5\r\nNUMBER=1\r\nNUMBER4=1\r\n"));

    // The window is made again at once, hidden, from the file.
    ASSERT_TRUE(main.settingsWindow.exists());
    EXPECT_FALSE(main.settingsWindow->isVisible());
    EXPECT_TRUE(main.settingsWindow->hangUpBox->isChecked());
    EXPECT_TRUE(main.settingsWindow->autoCloseBoardBox->isChecked());
}

TEST_F(SettingsWindowTest, AStoredTickOtherThanZeroOrOneLeavesTheBoxUntickedAndCloseWritesZero) {
    writeMainIni("[EXEINI]\nNUMBER=7\nNUMBER4=2\n");
    MainWindow& main = start();
    EXPECT_FALSE(main.settingsWindow->hangUpBox->isChecked());
    closeSettings();
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER=0\r\n")));
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER4=0\r\n")));
}

TEST_F(SettingsWindowTest, LongAndOddValuesNeverBreakTheFile) {
    MainWindow& main = start();
    const QString longValue(10000, QLatin1Char('9'));
    main.settingsWindow->intervalEdit->setText(longValue);
    EXPECT_EQ(main.settingsWindow->intervalEdit->text(), longValue);
    main.settingsWindow->intervalEdit->setText(QStringLiteral("5=;[x]"));
    closeSettings();
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER2=5=;[x]\r\n")));
    EXPECT_EQ(main.settingsWindow->intervalEdit->text(), QStringLiteral("5"));
}

TEST_F(SettingsWindowTest, ALineBreakCannotBeTypedOrPastedIntoTheInterval) {
    MainWindow& main = start();
    main.settingsWindow->intervalEdit->selectAll();
    main.settingsWindow->intervalEdit->insert(QStringLiteral("1\n2"));
    EXPECT_FALSE(main.settingsWindow->intervalEdit->text().contains(QLatin1Char('\n')));
}

TEST_F(SettingsWindowTest, ItsButtonsShowTheOneAccountAndServerDialog) {
    MainWindow& main = start();
    main.serverSettingsDialog.close();
    main.accountDialog->close();
    for (int i = 0; i < 2; ++i) {
        main.settingsWindow->accountButton->click();
        main.settingsWindow->serverButton->click();
    }
    EXPECT_TRUE(main.accountDialog->isVisible());
    EXPECT_TRUE(main.serverSettingsDialog->isVisible());
    EXPECT_FALSE(main.settingsWindow->isVisible());
}

struct ClosedIntervalCase {
    const char* typed;
    const char* shown; // in both fields once the window has closed
    bool on;
    const char* stored;
};

class ClosedIntervalTest : public SettingsWindowTest,
                           public ::testing::WithParamInterface<ClosedIntervalCase> {};

// A close ends in the state a start with the file just written gives: the
// interval as a whole number, and 0 switched off and written.
TEST_P(ClosedIntervalTest, ClosingAppliesTheIntervalReadBackFromTheFile) {
    writeMainIni("[EXEINI]\nNUMBER2=5\n");
    MainWindow& main = start();
    main.settingsWindow.show();
    main.settingsWindow->intervalEdit->setText(QString::fromLatin1(GetParam().typed));
    closeSettings();

    const QString shown = QString::fromLatin1(GetParam().shown);
    EXPECT_EQ(main.settingsWindow->intervalEdit->text(), shown);
    EXPECT_EQ(main.intervalField->text(), shown);
    EXPECT_EQ(main.intervalStateLabel->text(),
              GetParam().on ? QStringLiteral("ON") : QStringLiteral("OFF"));
    EXPECT_EQ(main.intervalOnBox->isChecked(), GetParam().on);
    EXPECT_EQ(main.timedChecking.countTimer().isTicking(), GetParam().on);
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER2=%1\r\n").arg(GetParam().stored)));
}

// What is typed applies as a close would apply it: the same whole minutes, or off.
TEST_P(ClosedIntervalTest, WhileOpenTheIntervalIsTheOneAClosingWouldApply) {
    MainWindow& main = start();
    main.settingsWindow.show();
    main.settingsWindow->intervalEdit->setText(QString::fromLatin1(GetParam().typed));

    EXPECT_EQ(main.timedChecking.interval(), QString::fromLatin1(GetParam().shown).toInt());
    EXPECT_EQ(main.timedChecking.countTimer().isTicking(), GetParam().on);
    EXPECT_EQ(main.intervalOnBox->isChecked(), GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(Texts, ClosedIntervalTest,
                         ::testing::Values(ClosedIntervalCase{"1.5", "1", true, "1.5"},
                                           ClosedIntervalCase{"0.4", "0", false, "0"},
                                           ClosedIntervalCase{"abc", "0", false, "0"},
                                           ClosedIntervalCase{"007", "7", true, "007"}));

} // namespace
} // namespace brindle::test
