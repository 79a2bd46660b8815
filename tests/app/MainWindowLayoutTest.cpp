#include "support/MainWindowFixture.h"
#include "ui/ScrollingCaption.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brindle::test {
namespace {

using MainWindowLayoutTest = MainWindowFixture;

TEST_F(MainWindowLayoutTest, FixedClientAreaBelowTheMenuAndTheCaption) {
    MainWindow& main = start();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Brindle Ver 1.0"));
    EXPECT_EQ(main.centralWidget()->size(), QSize(185, 193));
    EXPECT_EQ(main.minimumSize(), main.maximumSize());
    EXPECT_FALSE(main.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(MainWindowLayoutTest, TheSceneViewIsLargerThanItsFrameAndCut) {
    MainWindow& main = start();
    EXPECT_EQ(main.sceneArea->geometry(), QRect(0, 0, 185, 121));
    EXPECT_EQ(fakes.scene->widget()->parentWidget(), main.sceneArea);
    EXPECT_EQ(fakes.scene->widget()->geometry(), QRect(-3, -32, 241, 217));
}

TEST_F(MainWindowLayoutTest, ControlsStartWithTheirFirstValues) {
    MainWindow& main = start();
    EXPECT_EQ(main.timedChecking.count.minutes, 0);
    EXPECT_EQ(main.timedChecking.count.seconds, 0);
    EXPECT_TRUE(main.sceneAndTune->repeatsTune());
    EXPECT_FALSE(main.intervalOnBox->isEnabled());
    EXPECT_FALSE(main.intervalField->isEnabled());
    EXPECT_EQ(main.tuneOnButton->text(), QStringLiteral("ON♪"));
    EXPECT_EQ(main.tuneOffButton->text(), QStringLiteral("OFF"));
    EXPECT_EQ(main.launchMailerLabel->text(), QStringLiteral("新着有りで設定メーラーを起動"));
    EXPECT_EQ(main.minutesLabel->text(), QStringLiteral("分"));
    EXPECT_EQ(main.mailerName->textLeft(), 184);
    EXPECT_EQ(main.mailerName->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
}

TEST_F(MainWindowLayoutTest, TimedCountingWaitsForAnInterval) {
    MainWindow& main = start();
    EXPECT_FALSE(main.timedChecking.countTimer().isTicking());
}

} // namespace
} // namespace brindle::test
