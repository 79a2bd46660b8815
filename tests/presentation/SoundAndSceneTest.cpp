#include "support/MainFormFixture.h"

#include <QPushButton>

namespace brindle::test {
namespace {

class SoundAndSceneTest : public MainFormFixture {
protected:
    SoundAndSceneTest() {
        writeServerFile("POP3=mail.example\n");
        start();
        fakes.media->commands.clear();
        fakes.scene->pages.clear();
    }
    QString open(const char* tune) const {
        return QStringLiteral("open \"") + programFolder.path() + QStringLiteral("/Sound/") +
               QString::fromLatin1(tune) + QStringLiteral("\" alias bgm");
    }
    QString page(const char* name) const {
        return programFolder.path() + QStringLiteral("/画像データ/") +
               QString::fromLatin1(name);
    }
};

TEST_F(SoundAndSceneTest, OnPlaysTheButtonTuneAndOffStopsIt) {
    form->Command2->click();
    EXPECT_EQ(fakes.media->commands, (QStringList{open("Kouka.mid"), "play bgm"}));
    EXPECT_TRUE(form->Timer2.Enabled());

    form->Command3->click();
    EXPECT_EQ(fakes.media->commands.mid(2), (QStringList{"stop bgm", "close bgm"}));
    EXPECT_FALSE(form->Timer2.Enabled());
    // With nothing open, stop still ends with the watcher off.
    form->Command3->click();
    EXPECT_FALSE(form->Timer2.Enabled());
}

TEST_F(SoundAndSceneTest, TheWatcherRepeatsAStoppedTuneWhileTheLoopSwitchIsOn) {
    form->Timer2_Timer(); // nothing open: no answer, nothing happens
    EXPECT_EQ(fakes.media->commands, QStringList{"status bgm mode"});

    fakes.media->mode = QStringLiteral("playing");
    form->Timer2_Timer();
    fakes.media->mode = QStringLiteral("stopped");
    form->Timer2_Timer();
    EXPECT_EQ(fakes.media->commands.mid(1),
              (QStringList{"status bgm mode", "status bgm mode", "play bgm from 0"}));
    EXPECT_TRUE(form->Timer2.Enabled());

    form->Check1 = 0;
    fakes.media->commands.clear();
    form->Timer2_Timer();
    EXPECT_EQ(fakes.media->commands, (QStringList{"status bgm mode", "stop bgm", "close bgm"}));
    EXPECT_FALSE(form->Timer2.Enabled());
}

TEST_F(SoundAndSceneTest, EventShowsTheNewMailSceneAndRestartsItsTuneEachTime) {
    form->mebent->trigger();
    form->mebent->trigger();
    const QStringList once{"stop bgm", "close bgm", open("Kouka2.mid"), "play bgm"};
    EXPECT_EQ(fakes.media->commands, once + once);
    EXPECT_EQ(fakes.scene->pages, (QStringList{page("Kakasi.htm"), page("Kakasi.htm")}));
    EXPECT_TRUE(form->Timer2.Enabled());

    // "ON♪" during the new-mail tune only asks to open again (which fails) and play on.
    fakes.media->commands.clear();
    form->Command2->click();
    EXPECT_EQ(fakes.media->commands, (QStringList{open("Kouka.mid"), "play bgm"}));
    EXPECT_EQ(fakes.scene->pages.size(), 2);
}

TEST_F(SoundAndSceneTest, BackShowsTheNormalSceneAndSilencesTheTune) {
    form->mebent->trigger();
    fakes.media->commands.clear();
    form->mmodosu->trigger();
    EXPECT_EQ(fakes.scene->pages.last(), page("Fish.htm"));
    EXPECT_EQ(fakes.media->commands, (QStringList{"stop bgm", "close bgm"}));
    EXPECT_FALSE(form->Timer2.Enabled());
}

TEST_F(SoundAndSceneTest, TheSceneStillChangesWhileTheWindowIsInTheTray) {
    form->mtask->trigger();
    ASSERT_FALSE(form->isVisible());
    form->mebent->trigger();
    EXPECT_EQ(fakes.scene->pages.last(), page("Kakasi.htm"));
    EXPECT_TRUE(fakes.media->commands.contains(QStringLiteral("play bgm")));
}

} // namespace
} // namespace brindle::test
