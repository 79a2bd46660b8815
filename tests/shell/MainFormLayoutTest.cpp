#include "support/MainFormFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace brindle::test {
namespace {

using MainFormLayoutTest = MainFormFixture;

QStringList captions(const QMenu* menu) {
    QStringList result;
    for (const QAction* action : menu->actions()) {
        result << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return result;
}

TEST_F(MainFormLayoutTest, FixedClientAreaBelowTheMenuAndTheCaption) {
    MainForm& main = start();
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Brindle Ver 1.0"));
    EXPECT_EQ(main.centralWidget()->size(), QSize(185, 193));
    EXPECT_EQ(main.minimumSize(), main.maximumSize());
    EXPECT_FALSE(main.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(main.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
}

TEST_F(MainFormLayoutTest, TheSceneViewIsLargerThanItsFrameAndCut) {
    MainForm& main = start();
    EXPECT_EQ(main.Picture2->geometry(), QRect(0, 0, 185, 121));
    EXPECT_EQ(main.WebBrowser1->widget()->parentWidget(), main.Picture2);
    EXPECT_EQ(main.WebBrowser1->widget()->geometry(), QRect(-3, -32, 241, 217));
}

TEST_F(MainFormLayoutTest, MenuTreeAndHiddenPopup) {
    MainForm& main = start();
    EXPECT_EQ(main.menuBar()->actions().size(), 1);
    EXPECT_EQ(main.mfile->title(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(captions(main.mfile),
              (QStringList{"メールチェック", "-", "起動メーラーの設定", "タスクトレイに常駐",
                           "設定", "-", "イベント確認", "戻す", "-", "常に前面表示", "前面表示解除",
                           "-", "作者のホームページ"}));
    EXPECT_EQ(captions(main.trayMenu), (QStringList{"メイン画面を表示", "-", "終了"}));
}

TEST_F(MainFormLayoutTest, ControlsStartWithTheirDesignValues) {
    MainForm& main = start();
    EXPECT_EQ(main.Text1, QStringLiteral("Text1"));
    EXPECT_EQ(main.Text4, QStringLiteral("Text4"));
    EXPECT_EQ(main.Check1, 1);
    EXPECT_FALSE(main.Check3->isEnabled());
    EXPECT_FALSE(main.Text5->isEnabled());
    EXPECT_EQ(main.Command2->text(), QStringLiteral("ON♪"));
    EXPECT_EQ(main.Command3->text(), QStringLiteral("OFF"));
    EXPECT_EQ(main.Label3->text(), QStringLiteral("新着有りで設定メーラーを起動"));
    EXPECT_EQ(main.Label2[0]->text(), QStringLiteral("分"));
    EXPECT_EQ(main.Label1->x(), 184);
    EXPECT_EQ(main.Label1->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
}

TEST_F(MainFormLayoutTest, TimersStartAsDesigned) {
    MainForm& main = start();
    EXPECT_EQ(main.Timer1.Interval(), 100);
    EXPECT_TRUE(main.Timer1.isTicking());
    EXPECT_EQ(main.Timer2.Interval(), 100);
    EXPECT_FALSE(main.Timer3.isTicking()); // no interval until one is set
    EXPECT_EQ(main.Timer4.Interval(), 20);
    EXPECT_EQ(main.Timer5.Interval(), 1000);
}

} // namespace
} // namespace brindle::test
