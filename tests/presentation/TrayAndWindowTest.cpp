#include "settings/SetForm.h"
#include "support/MainFormFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

namespace brindle::test {
namespace {

class TrayAndWindowTest : public MainFormFixture {
protected:
    TrayAndWindowTest() {
        writeServerFile("POP3=mail.example\n");
        writeAccountIni("[EXEINI]\nNAME=a\nNAME2=b\n");
        start();
    }
};

TEST_F(TrayAndWindowTest, GoingToTheTrayHidesTheWindowAndSetsTheIconAnewEachTime) {
    form->mtask->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(fakes.tray->iconSet);
    EXPECT_EQ(fakes.tray->shows, 1);
    ASSERT_EQ(fakes.tray->texts.size(), 1);
    EXPECT_FALSE(fakes.tray->texts.first().isEmpty());

    form->showWindowAction->trigger();
    EXPECT_TRUE(form->isVisible());
    form->showWindowAction->trigger(); // already visible: stays visible
    EXPECT_TRUE(form->isVisible());
    form->mtask->trigger();
    EXPECT_EQ(fakes.tray->shows, 2);
    EXPECT_EQ(fakes.tray->texts.size(), 2);
}

TEST_F(TrayAndWindowTest, WithoutASystemTrayTheWindowIsMinimisedInstead) {
    fakes.tray->available = false;
    form->mtask->trigger();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(fakes.tray->shows, 0);
}

TEST_F(TrayAndWindowTest, AClickOnTheIconSaysClicked) {
    emit fakes.tray->activated(TrayIcon::Activation::Click);
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    const auto& box = fakes.messageBoxes->shown.front();
    EXPECT_EQ(box.text, QStringLiteral("Clicked!"));
    EXPECT_EQ(box.caption, QStringLiteral("Brindle"));
    EXPECT_EQ(box.icon, MessageBoxes::Icon::Exclamation);
    EXPECT_EQ(box.buttons, MessageBoxes::Buttons::Ok);
}

TEST_F(TrayAndWindowTest, EndFromThePopupSavesAndEndsLikeTheCloseBox) {
    form->mtask->trigger();
    form->Check2->setChecked(true);
    form->quitAction->trigger();
    EXPECT_EQ(fakes.programEnd->ends, 1);
    EXPECT_TRUE(readStored(mainIni()).contains(QStringLiteral("NUMBER3=1\r\n")));
}

TEST_F(TrayAndWindowTest, AlwaysInFrontSwitchesAnyNumberOfTimes) {
    fakes.stacking->calls.clear();
    form->mkaijyo->trigger();
    form->mkaijyo->trigger();
    form->mzenmen->trigger();
    const std::vector<std::pair<QWidget*, bool>> expected{
        {form.get(), false}, {form.get(), false}, {form.get(), true}};
    EXPECT_EQ(fakes.stacking->calls, expected);
}

TEST_F(TrayAndWindowTest, SettingsOpensTheOneSettingsWindowWithoutBlocking) {
    SetForm* hidden = &form->setForm.get();
    form->mset2->trigger();
    form->mset2->trigger();
    EXPECT_EQ(&form->setForm.get(), hidden);
    EXPECT_TRUE(hidden->isVisible());
    EXPECT_FALSE(hidden->isModal());
}

TEST_F(TrayAndWindowTest, ADoubleClickOnTheIntervalLabelsEndsNothing) {
    for (QLabel* label : form->Label2) {
        QTest::mouseDClick(label, Qt::LeftButton);
    }
    EXPECT_EQ(fakes.programEnd->ends, 0);
    EXPECT_TRUE(form->isVisible());
}

TEST_F(TrayAndWindowTest, TheHomePageOpensOnlyWhenTheUserSaysYes) {
    form->mhp->trigger();
    ASSERT_EQ(fakes.messageBoxes->shown.size(), 1U);
    EXPECT_EQ(fakes.messageBoxes->shown[0].text,
              QStringLiteral("「Quillworks」作者のホームページです。ちょっと見てみますか？"));
    EXPECT_EQ(fakes.messageBoxes->shown[0].caption, QStringLiteral("確認"));
    EXPECT_EQ(fakes.messageBoxes->shown[0].icon, MessageBoxes::Icon::Question);
    EXPECT_TRUE(fakes.urlOpener->opened.isEmpty());

    fakes.messageBoxes->answer = MessageBoxes::Answer::Yes;
    form->mhp->trigger();
    ASSERT_EQ(fakes.urlOpener->opened.size(), 1);
    EXPECT_EQ(fakes.urlOpener->opened[0].scheme(), QStringLiteral("https"));
}

} // namespace
} // namespace brindle::test
