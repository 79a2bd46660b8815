#include "support/MainFormFixture.h"

#include <QPushButton>

namespace brindle::test {
namespace {

class SoundAndSceneTest : public MainFormFixture {
protected:
    SoundAndSceneTest() {
        writeServerFile("POP3=mail.example\n");
        start();
        fakes.tunePlayer->calls.clear();
        fakes.scene->pages.clear();
    }
    QString open(const char* tune) const {
        return QStringLiteral("open ") + programFolder.path() + QStringLiteral("/Sound/") +
               QString::fromLatin1(tune);
    }
    QString page(const char* name) const {
        return programFolder.path() + QStringLiteral("/画像データ/") + QString::fromLatin1(name);
    }
};

TEST_F(SoundAndSceneTest, OnPlaysTheButtonTuneAndOffStopsIt) {
    form->Command2->click();
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{open("Kouka.mid"), "play"}));
    EXPECT_TRUE(form->Timer2.Enabled());

    form->Command3->click();
    EXPECT_EQ(fakes.tunePlayer->calls.mid(2), (QStringList{"stop", "close"}));
    EXPECT_FALSE(form->Timer2.Enabled());
    // With nothing open, stop still ends with the watcher off.
    form->Command3->click();
    EXPECT_FALSE(form->Timer2.Enabled());
}

TEST_F(SoundAndSceneTest, TheWatcherRepeatsAStoppedTuneWhileTheLoopSwitchIsOn) {
    form->Timer2_Timer(); // playing, or nothing open: nothing happens
    EXPECT_TRUE(fakes.tunePlayer->calls.isEmpty());

    fakes.tunePlayer->stopped = true;
    form->Timer2_Timer();
    EXPECT_EQ(fakes.tunePlayer->calls, QStringList{"play from start"});
    EXPECT_TRUE(form->Timer2.Enabled());

    form->Check1 = 0;
    fakes.tunePlayer->calls.clear();
    form->Timer2_Timer();
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{"stop", "close"}));
    EXPECT_FALSE(form->Timer2.Enabled());
}

TEST_F(SoundAndSceneTest, EventShowsTheNewMailSceneAndRestartsItsTuneEachTime) {
    form->mebent->trigger();
    form->mebent->trigger();
    const QStringList once{"stop", "close", open("Kouka2.mid"), "play"};
    EXPECT_EQ(fakes.tunePlayer->calls, once + once);
    EXPECT_EQ(fakes.scene->pages, (QStringList{page("Kakasi.htm"), page("Kakasi.htm")}));
    EXPECT_TRUE(form->Timer2.Enabled());

    // "ON♪" during the new-mail tune only asks to open again (the player keeps
    // the open tune) and play on.
    fakes.tunePlayer->calls.clear();
    form->Command2->click();
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{open("Kouka.mid"), "play"}));
    EXPECT_EQ(fakes.scene->pages.size(), 2);
}

TEST_F(SoundAndSceneTest, BackShowsTheNormalSceneAndSilencesTheTune) {
    form->mebent->trigger();
    fakes.tunePlayer->calls.clear();
    form->mmodosu->trigger();
    EXPECT_EQ(fakes.scene->pages.last(), page("Fish.htm"));
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{"stop", "close"}));
    EXPECT_FALSE(form->Timer2.Enabled());
}

TEST_F(SoundAndSceneTest, TheSceneStillChangesWhileTheWindowIsInTheTray) {
    form->mtask->trigger();
    ASSERT_FALSE(form->isVisible());
    form->mebent->trigger();
    EXPECT_EQ(fakes.scene->pages.last(), page("Kakasi.htm"));
    EXPECT_TRUE(fakes.tunePlayer->calls.contains(QStringLiteral("play")));
}

} // namespace
} // namespace brindle::test
