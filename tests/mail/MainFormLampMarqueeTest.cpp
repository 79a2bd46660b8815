#include "shell/Twips.h"
#include "support/MainFormFixture.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <vector>

namespace brindle::test {
namespace {

const QString LampFolder = QStringLiteral(BRINDLE_LAMP_DIR);

class MainFormLampTest : public MainFormFixture {
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
    QImage shown() const {
        return form->Image1->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    }
};

TEST_F(MainFormLampTest, IntervalOnShowsGreenForOverTwoSecondsThenRed) {
    ASSERT_NE(lampFile("Green.gif"), lampFile("Red.gif"));
    copyLamps();
    start().Check3->setChecked(true);
    std::vector<QImage> samples;
    for (std::uint32_t at : {10U, 1990U}) {
        fakes.events->at(at, [&] { samples.push_back(shown()); });
    }
    const std::int64_t before = fakes.clock->now;
    form->Timer5_Timer();

    ASSERT_EQ(samples.size(), 2U);
    EXPECT_EQ(samples[0], lampFile("Green.gif"));
    EXPECT_EQ(samples[1], lampFile("Green.gif"));
    EXPECT_GT(fakes.clock->now - before, 2000);
    EXPECT_EQ(shown(), lampFile("Red.gif"));
}

TEST_F(MainFormLampTest, SwitchingOffDuringTheGreenPhaseEndsRedThenTurnsGreen) {
    copyLamps();
    start().Check3->setChecked(true);
    fakes.events->at(1000, [this] { form->Check3->setChecked(false); });
    form->Timer5_Timer();
    EXPECT_EQ(shown(), lampFile("Red.gif"));

    const std::int64_t before = fakes.clock->now;
    form->Timer5_Timer();
    EXPECT_EQ(shown(), lampFile("Green.gif"));
    EXPECT_EQ(fakes.clock->now, before);
}

TEST_F(MainFormLampTest, MissingLampFilesKeepThePicture) {
    copyLamps();
    start().Check3->setChecked(true);
    form->Timer5_Timer();
    ASSERT_EQ(shown(), lampFile("Red.gif"));
    ASSERT_TRUE(QFile::remove(programFolder.file(QStringLiteral("画像データ/Green.gif"))));
    ASSERT_TRUE(QFile::remove(programFolder.file(QStringLiteral("画像データ/Red.gif"))));

    form->Check3->setChecked(false);
    form->Timer5_Timer();
    EXPECT_EQ(shown(), lampFile("Red.gif"));
}

using MainFormMarqueeTest = MainFormFixture;

TEST_F(MainFormMarqueeTest, NameScrollsLeftInTwentyTwipStepsAndStartsAgain) {
    MainForm& main = start();
    std::vector<float> visited;
    for (int tick = 0; tick < 215; ++tick) {
        main.Timer4_Timer();
        visited.push_back(main.Label1Left);
        ASSERT_EQ(main.Label1->x(), twips(main.Label1Left));
    }
    std::vector<float> expected;
    for (int left = 2740; left >= -1500; left -= 20) {
        expected.push_back(static_cast<float>(left));
    }
    expected.push_back(2760.0F);
    expected.push_back(2740.0F);
    EXPECT_EQ(visited, expected);
}

TEST_F(MainFormMarqueeTest, CaptionFollowsTheMailerPath) {
    MainForm& main = start();
    main.Timer4_Timer();
    EXPECT_EQ(main.Label1->text(), QStringLiteral("未設定"));

    main.Text7 = QStringLiteral("/opt/メール/Mail Reader.exe");
    main.Timer4_Timer();
    EXPECT_EQ(main.Text8, QStringLiteral("Mail Reader.exe"));
    EXPECT_EQ(main.Label1->text(), QStringLiteral("Mail Reader.exe"));

    main.Text7.clear();
    main.Timer4_Timer();
    EXPECT_EQ(main.Label1->text(), QStringLiteral("設定されていません。"));
}

TEST_F(MainFormMarqueeTest, CancellingBeforeAnyChoiceEmptiesPathAndTitle) {
    MainForm& main = start();
    main.mset_Click();
    EXPECT_EQ(fakes.fileChooser->opened, 1);
    EXPECT_TRUE(main.Text7.isEmpty());
    EXPECT_TRUE(main.Text8.isEmpty());
}

TEST_F(MainFormMarqueeTest, CancellingAfterAChoiceKeepsTheEarlierPath) {
    MainForm& main = start();
    fakes.fileChooser->answers = {QStringLiteral("/opt/mail/reader"), QString()};
    main.mset_Click();
    EXPECT_EQ(main.Text7, QStringLiteral("/opt/mail/reader"));
    EXPECT_EQ(main.Text8, QStringLiteral("reader"));
    main.mset_Click();
    EXPECT_EQ(fakes.fileChooser->opened, 2);
    EXPECT_EQ(main.Text7, QStringLiteral("/opt/mail/reader"));
    EXPECT_EQ(main.Text8, QStringLiteral("reader"));
}

} // namespace
} // namespace brindle::test
