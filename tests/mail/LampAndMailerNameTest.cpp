#include "support/MainWindowFixture.h"
#include "ui/ScrollingCaption.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <vector>

namespace brindle::test {
namespace {

const QString LampFolder = QStringLiteral(BRINDLE_LAMP_DIR);

class LampTest : public MainWindowFixture {
protected:
    void copyLamps() {
        programFolder.makeFolder(QStringLiteral("画像データ"));
        for (const char* name : {"Green.gif", "Red.gif"}) {
            const QString file = QString::fromUtf8(name);
            ASSERT_TRUE(QFile::copy(LampFolder + u'/' + file,
                                    programFolder.file(QStringLiteral("画像データ/") + file)));
        }
    }
    static QImage lampFile(const char* name) {
        return QImage(LampFolder + u'/' + QString::fromUtf8(name))
            .convertToFormat(QImage::Format_ARGB32);
    }
    void setInterval(const char* text) {
        mainWindow->settingsWindow->intervalEdit->setText(QString::fromUtf8(text));
    }
    QImage shown() const {
        return mainWindow->lamp->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    }
};

TEST_F(LampTest, IntervalOnShowsGreenForOverTwoSecondsThenRed) {
    ASSERT_NE(lampFile("Green.gif"), lampFile("Red.gif"));
    copyLamps();
    start();
    EXPECT_EQ(mainWindow->statusLamp->beatTimer().interval(), 1000);
    setInterval("5");
    std::vector<QImage> samples;
    for (std::uint32_t at : {10U, 1990U}) {
        fakes.events->at(at, [&] { samples.push_back(shown()); });
    }
    const std::int64_t before = fakes.clock->now;
    mainWindow->statusLamp->blink();

    ASSERT_EQ(samples.size(), 2U);
    EXPECT_EQ(samples[0], lampFile("Green.gif"));
    EXPECT_EQ(samples[1], lampFile("Green.gif"));
    EXPECT_GT(fakes.clock->now - before, 2000);
    EXPECT_EQ(shown(), lampFile("Red.gif"));
}

TEST_F(LampTest, SwitchingOffDuringTheGreenPhaseEndsRedThenTurnsGreen) {
    copyLamps();
    start();
    setInterval("5");
    fakes.events->at(1000, [this] { setInterval("0"); });
    mainWindow->statusLamp->blink();
    EXPECT_EQ(shown(), lampFile("Red.gif"));

    const std::int64_t before = fakes.clock->now;
    mainWindow->statusLamp->blink();
    EXPECT_EQ(shown(), lampFile("Green.gif"));
    EXPECT_EQ(fakes.clock->now, before);
}

TEST_F(LampTest, MissingLampFilesKeepThePicture) {
    copyLamps();
    start();
    setInterval("5");
    mainWindow->statusLamp->blink();
    ASSERT_EQ(shown(), lampFile("Red.gif"));
    ASSERT_TRUE(QFile::remove(programFolder.file(QStringLiteral("画像データ/Green.gif"))));
    ASSERT_TRUE(QFile::remove(programFolder.file(QStringLiteral("画像データ/Red.gif"))));

    setInterval("0");
    mainWindow->statusLamp->blink();
    EXPECT_EQ(shown(), lampFile("Red.gif"));
}

using MailerNameTest = MainWindowFixture;

TEST_F(MailerNameTest, NameScrollsLeftInTwentyTwipStepsAndStartsAgain) {
    MainWindow& main = start();
    std::vector<float> visited;
    for (int tick = 0; tick < 215; ++tick) {
        main.mailer->scrollName();
        visited.push_back(main.mailer->nameLeft());
        ASSERT_EQ(main.mailerName->textLeft(), twips(main.mailer->nameLeft()));
    }
    std::vector<float> expected;
    for (int left = 2740; left >= -1500; left -= 20) {
        expected.push_back(static_cast<float>(left));
    }
    expected.push_back(2760.0F);
    expected.push_back(2740.0F);
    EXPECT_EQ(visited, expected);
}

TEST_F(MailerNameTest, CaptionFollowsTheMailerPath) {
    MainWindow& main = start();
    main.mailer->scrollName();
    EXPECT_EQ(main.mailerName->text(), QStringLiteral("未設定"));

    main.mailer->setPath(QStringLiteral("/opt/メール/Mail Reader.exe"));
    main.mailer->scrollName();
    EXPECT_EQ(main.mailer->name(), QStringLiteral("Mail Reader.exe"));
    EXPECT_EQ(main.mailerName->text(), QStringLiteral("Mail Reader.exe"));

    main.mailer->setPath(QString());
    main.mailer->scrollName();
    EXPECT_EQ(main.mailerName->text(), QStringLiteral("設定されていません。"));
}

TEST_F(MailerNameTest, TheNameIsAsWideAsItsTextAndCutAtTheLabelsWidth) {
    MainWindow& main = start();
    main.mailer->setPath(QStringLiteral("/opt/mail/reader"));
    main.mailer->scrollName();
    EXPECT_GE(main.mailerName->textRect().width(),
              QFontMetrics(main.mailerName->font()).horizontalAdvance(QStringLiteral("reader")));
    EXPECT_LT(main.mailerName->textRect().width(), twips(2415));

    main.mailer->setPath(QStringLiteral("/opt/mail/") + QString(200, u'M'));
    main.mailer->scrollName();
    EXPECT_EQ(main.mailerName->textRect().size(), QSize(twips(2415), twips(255)));
}

TEST_F(MailerNameTest, CancellingBeforeAnyChoiceEmptiesPathAndTitle) {
    MainWindow& main = start();
    main.mailer->chooseMailer(mainWindow.get());
    EXPECT_EQ(fakes.fileChooser->opened, 1);
    EXPECT_TRUE(main.mailer->path().isEmpty());
    EXPECT_TRUE(main.mailer->name().isEmpty());
}

TEST_F(MailerNameTest, CancellingAfterAChoiceKeepsTheEarlierPath) {
    MainWindow& main = start();
    fakes.fileChooser->answers = {QStringLiteral("/opt/mail/reader"), QString()};
    main.mailer->chooseMailer(mainWindow.get());
    EXPECT_EQ(main.mailer->path(), QStringLiteral("/opt/mail/reader"));
    EXPECT_EQ(main.mailer->name(), QStringLiteral("reader"));
    main.mailer->chooseMailer(mainWindow.get());
    EXPECT_EQ(fakes.fileChooser->opened, 2);
    EXPECT_EQ(main.mailer->path(), QStringLiteral("/opt/mail/reader"));
    EXPECT_EQ(main.mailer->name(), QStringLiteral("reader"));
}

TEST_F(MailerNameTest, APathTheSettingsFileCannotHoldIsUsedAndTheUserIsTold) {
    writeMainIni("[EXEINI]\nNAME=/usr/bin/mua\n");
    MainWindow& main = start();
    const QString longPath = QStringLiteral("/opt/") + QString(260, u'm');
    fakes.fileChooser->answers = {QStringLiteral("/opt/ｍａｉｌ/reader"),
                                  QStringLiteral("/home/zoë/bin/mua"), longPath};
    main.mailer->chooseMailer(mainWindow.get());
    EXPECT_TRUE(fakes.messageBoxes->shown.empty()) << "Shift-JIS holds this path";
    for (const QString& path : {QStringLiteral("/home/zoë/bin/mua"), longPath}) {
        fakes.messageBoxes->shown.clear();
        main.mailer->chooseMailer(mainWindow.get());
        EXPECT_EQ(main.mailer->path(), path);
        ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
        EXPECT_TRUE(fakes.messageBoxes->shown[0].text.contains(QStringLiteral("次回の起動時")));
    }
    closeMainWindow();
    EXPECT_TRUE(readStored(mainIni()).contains(QStringLiteral("NAME=/usr/bin/mua\r\n")))
        << "the stored choice, not a cut one";
}

// The window as the user sees it: shown, in the tray, minimised and back.
class UnseenWindowTest : public MainWindowFixture {
protected:
    void SetUp() override {
        writeServerFile("POP3=mail.example\n");
        writeAccountIni("[EXEINI]\nNAME=a\nNAME2=b\n");
        start().show();
    }
    // The name's scrolling and the lamp's beat.
    void expectDrawing(bool running) const {
        EXPECT_EQ(mainWindow->mailer->scrollTimer().isTicking(), running);
        EXPECT_EQ(mainWindow->statusLamp->beatTimer().isTicking(), running);
    }
};

TEST_F(UnseenWindowTest, NameAndLampStopInTheTrayAndWhenMinimisedAndGoOnWhenShown) {
    expectDrawing(true);
    mainWindow->moveToTrayAction->trigger();
    expectDrawing(false);
    mainWindow->tray.showWindowAction->trigger();
    expectDrawing(true);

    mainWindow->showMinimized();
    expectDrawing(false);
    mainWindow->showNormal();
    expectDrawing(true);

    // Without a tray the window stays on the screen and goes on drawing.
    fakes.tray->available = false;
    mainWindow->moveToTrayAction->trigger();
    expectDrawing(true);
    // Timed checking goes on unseen.
    EXPECT_TRUE(mainWindow->timedChecking.countTimer().isEnabled());
}

TEST_F(UnseenWindowTest, TheNameComesBackWhereItWouldHaveScrolledTo) {
    for (int step = 0; step < 10; ++step) {
        mainWindow->mailer->scrollName();
    }
    mainWindow->moveToTrayAction->trigger();
    fakes.clock->now += 50 * 20 + 19; // 50 steps and most of one more
    mainWindow->mailer->setPath(QStringLiteral("/opt/mail/reader"));
    mainWindow->tray.showWindowAction->trigger();
    EXPECT_EQ(mainWindow->mailer->nameLeft(), 2760.0F - 60 * 20.0F);
    EXPECT_EQ(mainWindow->mailerName->textLeft(), twips(2760 - 60 * 20));
    EXPECT_EQ(mainWindow->mailerName->text(), QStringLiteral("reader"));

    // An hour is 180,000 steps: 841 rounds of 214 positions and 26 steps more.
    mainWindow->showMinimized();
    fakes.clock->now += 3'600'000 + 5 * 20;
    mainWindow->showNormal();
    EXPECT_EQ(mainWindow->mailer->nameLeft(), 2760.0F - (60 + 26 + 5) * 20.0F);

    // Past the last position the name starts again from the right.
    mainWindow->moveToTrayAction->trigger();
    fakes.clock->now += (214 - 91) * 20;
    mainWindow->tray.showWindowAction->trigger();
    EXPECT_EQ(mainWindow->mailer->nameLeft(), 2760.0F);
}

} // namespace
} // namespace brindle::test
