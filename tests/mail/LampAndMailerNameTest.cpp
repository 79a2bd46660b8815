#include "support/MainWindowFixture.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QFile>
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
        ASSERT_EQ(main.mailerName->x(), twips(main.mailer->nameLeft()));
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

} // namespace
} // namespace brindle::test
