#include "settings/SetForm.h"
#include "settings/IdPassForm.h"
#include "settings/OptionForm.h"
#include "support/MainFormFixture.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle::test {
namespace {

class SetFormTest : public MainFormFixture {
protected:
    SetFormTest() { writeServerFile("POP3=mail.example\n"); }

    QString stored() const { return readStored(mainIni()); }
    // Closes the settings window with its close box and lets it go.
    void closeSettings() {
        form->setForm->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(SetFormTest, EmptyingTheIntervalSwitchesCheckingOffAndWritesZeroAtOnce) {
    writeMainIni("[EXEINI]\nNUMBER2=5\n");
    MainForm& main = start();
    ASSERT_EQ(main.Label2[1]->text(), QStringLiteral("ON"));

    main.setForm->Text2->clear();

    EXPECT_EQ(main.setForm->Text2->text(), QStringLiteral("0"));
    EXPECT_EQ(main.Label2[1]->text(), QStringLiteral("OFF"));
    EXPECT_FALSE(main.Check3->isChecked());
    EXPECT_EQ(main.Text5->text(), QStringLiteral("0"));
    EXPECT_FALSE(main.Timer3.isTicking());
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNUMBER2=0\r\n"));
}

TEST_F(SetFormTest, PositiveValuesArmTheCountingTimerWithoutWriting) {
    MainForm& main = start();
    const QString before = stored();
    for (const char* typed : {"1", "15", "2.5", "1e400"}) {
        main.setForm->Text2->setText(QString::fromLatin1(typed));
        EXPECT_EQ(main.Label2[1]->text(), QStringLiteral("ON")) << typed;
        EXPECT_TRUE(main.Check3->isChecked()) << typed;
        EXPECT_EQ(main.Text5->text(), QString::fromLatin1(typed));
        EXPECT_EQ(main.Timer3.Interval(), 1000) << typed;
    }
    EXPECT_EQ(stored(), before);
}

TEST_F(SetFormTest, LettersCountAsZeroAndAreWrittenAsTyped) {
    MainForm& main = start();
    main.setForm->Text2->setText(QStringLiteral("5"));
    main.setForm->Text2->setText(QStringLiteral("abc"));
    EXPECT_EQ(main.Label2[1]->text(), QStringLiteral("OFF"));
    EXPECT_FALSE(main.Timer3.isTicking());
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER2=abc\r\n")));
}

TEST_F(SetFormTest, NegativeValuesChangeNothingAndAreSavedOnClose) {
    MainForm& main = start();
    main.setForm->Text2->setText(QStringLiteral("5"));
    main.setForm->Text2->setText(QStringLiteral("-3"));
    EXPECT_EQ(main.Label2[1]->text(), QStringLiteral("ON"));
    EXPECT_EQ(main.Text5->text(), QStringLiteral("5"));
    EXPECT_TRUE(main.Timer3.isTicking());
    closeSettings();
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER2=-3\r\n")));
}

TEST_F(SetFormTest, CloseSavesAndTheNextUseLoadsAFreshWindowFromTheFile) {
    MainForm& main = start();
    main.setForm.Show();
    SetForm* first = &main.setForm.get();
    first->Check1->setChecked(true);
    first->Check2->setChecked(true);
    first->Text2->setText(QStringLiteral("1.5"));
    closeSettings();
    EXPECT_FALSE(main.setForm.exists());
    EXPECT_EQ(stored(), QStringLiteral("[EXEINI]\r\nNUMBER2=1.5\r\nNUMBER=1\r\nNUMBER4=1\r\n"));

    // Reading a control creates the window again, hidden, from the file.
    EXPECT_EQ(main.setForm->Text2->text(), QStringLiteral("1"));
    EXPECT_FALSE(main.setForm->isVisible());
    EXPECT_TRUE(main.setForm->Check1->isChecked());
    EXPECT_TRUE(main.setForm->Check2->isChecked());
}

TEST_F(SetFormTest, AStoredTickOtherThanZeroOrOneLeavesTheBoxUntickedAndCloseWritesZero) {
    writeMainIni("[EXEINI]\nNUMBER=7\nNUMBER4=2\n");
    MainForm& main = start();
    EXPECT_FALSE(main.setForm->Check1->isChecked());
    closeSettings();
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER=0\r\n")));
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER4=0\r\n")));
}

TEST_F(SetFormTest, LongAndOddValuesNeverBreakTheFile) {
    MainForm& main = start();
    const QString longValue(10000, QLatin1Char('9'));
    main.setForm->Text2->setText(longValue);
    EXPECT_EQ(main.setForm->Text2->text(), longValue);
    main.setForm->Text2->setText(QStringLiteral("=;[x]"));
    EXPECT_EQ(main.Label2[1]->text(), QStringLiteral("OFF"));
    closeSettings();
    EXPECT_TRUE(stored().contains(QStringLiteral("NUMBER2==;[x]\r\n")));
    EXPECT_EQ(main.setForm->Text2->text(), QStringLiteral("0"));
}

TEST_F(SetFormTest, ALineBreakCannotBeTypedOrPastedIntoTheInterval) {
    MainForm& main = start();
    main.setForm->Text2->selectAll();
    main.setForm->Text2->insert(QStringLiteral("1\n2"));
    EXPECT_FALSE(main.setForm->Text2->text().contains(QLatin1Char('\n')));
}

TEST_F(SetFormTest, ItsButtonsShowTheOneAccountAndServerDialog) {
    MainForm& main = start();
    main.optionForm.Close();
    main.idPassForm->close();
    for (int i = 0; i < 2; ++i) {
        main.setForm->Command1->click();
        main.setForm->Command2->click();
    }
    EXPECT_TRUE(main.idPassForm->isVisible());
    EXPECT_TRUE(main.optionForm->isVisible());
    EXPECT_FALSE(main.setForm->isVisible());
}

} // namespace
} // namespace brindle::test
