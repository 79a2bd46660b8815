#include "presentation/scene/SceneProgramView.h"
#include "support/MainWindowFixture.h"

#include <QFile>
#include <QPushButton>
#include <QTest>
#include <vector>

namespace brindle::test {
namespace {

class SoundAndSceneTest : public MainWindowFixture {
protected:
    SoundAndSceneTest() {
        writeServerFile("POP3=mail.example\n");
        writeAccountIni("[EXEINI]\nNAME=a\nNAME2=b\n");
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
    mainWindow->tuneOnButton->click();
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{open("Kouka.mid"), "play"}));
    EXPECT_TRUE(mainWindow->sceneAndTune->watcher().isEnabled());

    mainWindow->tuneOffButton->click();
    EXPECT_EQ(fakes.tunePlayer->calls.mid(2), (QStringList{"stop", "close"}));
    EXPECT_FALSE(mainWindow->sceneAndTune->watcher().isEnabled());
    // With nothing open, stop still ends with the watcher off.
    mainWindow->tuneOffButton->click();
    EXPECT_FALSE(mainWindow->sceneAndTune->watcher().isEnabled());
}

TEST_F(SoundAndSceneTest, TheWatcherRepeatsAStoppedTuneWhileRepeatingIsOn) {
    mainWindow->tuneOnButton->click();
    fakes.tunePlayer->calls.clear();
    mainWindow->sceneAndTune->watchTune(); // playing, or nothing open: nothing happens
    EXPECT_TRUE(fakes.tunePlayer->calls.isEmpty());

    fakes.tunePlayer->stopped = true;
    mainWindow->sceneAndTune->watchTune();
    EXPECT_EQ(fakes.tunePlayer->calls, QStringList{"play from start"});
    EXPECT_TRUE(mainWindow->sceneAndTune->watcher().isEnabled());

    mainWindow->sceneAndTune->setRepeatsTune(false);
    fakes.tunePlayer->calls.clear();
    mainWindow->sceneAndTune->watchTune();
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{"stop", "close"}));
    EXPECT_FALSE(mainWindow->sceneAndTune->watcher().isEnabled());
}

TEST_F(SoundAndSceneTest, TheWatcherRunsOnlyWhileATuneIsOpen) {
    for (auto failure : {TunePlayer::OpenResult::FileNotFound, TunePlayer::OpenResult::NoSoundFont,
                         TunePlayer::OpenResult::NoAudioOutput}) {
        fakes.tunePlayer->openResult = failure;
        mainWindow->tuneOnButton->click();
        mainWindow->newMailSceneAction->trigger();
        EXPECT_FALSE(mainWindow->sceneAndTune->watcher().isEnabled());
    }
    fakes.tunePlayer->openResult = TunePlayer::OpenResult::Opened;
    mainWindow->newMailSceneAction->trigger();
    // "ON♪" over the open new-mail tune keeps watching it.
    fakes.tunePlayer->openResult = TunePlayer::OpenResult::AlreadyOpen;
    mainWindow->tuneOnButton->click();
    EXPECT_TRUE(mainWindow->sceneAndTune->watcher().isTicking());
}

TEST_F(SoundAndSceneTest, EventShowsTheNewMailSceneAndRestartsItsTuneEachTime) {
    mainWindow->newMailSceneAction->trigger();
    mainWindow->newMailSceneAction->trigger();
    const QStringList once{"stop", "close", open("Kouka2.mid"), "play"};
    EXPECT_EQ(fakes.tunePlayer->calls, once + once);
    EXPECT_EQ(fakes.scene->pages, (QStringList{page("Kakasi.htm"), page("Kakasi.htm")}));
    EXPECT_TRUE(mainWindow->sceneAndTune->watcher().isEnabled());

    // "ON♪" during the new-mail tune only asks to open again (the player keeps
    // the open tune) and play on.
    fakes.tunePlayer->calls.clear();
    mainWindow->tuneOnButton->click();
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{open("Kouka.mid"), "play"}));
    EXPECT_EQ(fakes.scene->pages.size(), 2);
}

TEST_F(SoundAndSceneTest, BackShowsTheNormalSceneAndSilencesTheTune) {
    mainWindow->newMailSceneAction->trigger();
    fakes.tunePlayer->calls.clear();
    mainWindow->normalSceneAction->trigger();
    EXPECT_EQ(fakes.scene->pages.last(), page("Fish.htm"));
    EXPECT_EQ(fakes.tunePlayer->calls, (QStringList{"stop", "close"}));
    EXPECT_FALSE(mainWindow->sceneAndTune->watcher().isEnabled());
}

TEST_F(SoundAndSceneTest, TheSceneStillChangesWhileTheWindowIsInTheTray) {
    mainWindow->moveToTrayAction->trigger();
    ASSERT_FALSE(mainWindow->isVisible());
    mainWindow->newMailSceneAction->trigger();
    EXPECT_EQ(fakes.scene->pages.last(), page("Kakasi.htm"));
    EXPECT_TRUE(fakes.tunePlayer->calls.contains(QStringLiteral("play")));
}

// The scene before the window goes to the tray, a check while it is there,
// and what the window shows and plays when it comes back.
struct TrayCase {
    const char* name;
    std::vector<QAction * MainWindow::*> beforeHiding;
    int messagesWhileHidden;
    const char* shownPage;
    const char* tuneWhileHidden; // the tune started while hidden, if any
};

class SceneThroughTheTrayTest : public SoundAndSceneTest,
                                public ::testing::WithParamInterface<TrayCase> {};

TEST_P(SceneThroughTheTrayTest, TheWindowComesBackWithTheSceneOfWhatHappenedMeanwhile) {
    const TrayCase& row = GetParam();
    for (QAction* MainWindow::*action : row.beforeHiding) {
        (mainWindow.get()->*action)->trigger();
    }
    mainWindow->moveToTrayAction->trigger();
    EXPECT_FALSE(fakes.scene->seen);
    fakes.tunePlayer->calls.clear();
    fakes.mailClient->messageCount = row.messagesWhileHidden;
    mainWindow->mailCheck.checkMail();

    mainWindow->tray.showWindowAction->trigger();
    EXPECT_TRUE(fakes.scene->seen);
    EXPECT_EQ(fakes.scene->pages.last(), page(row.shownPage));
    const QStringList started{"stop", "close", open(row.tuneWhileHidden), "play"};
    EXPECT_EQ(fakes.tunePlayer->calls, row.tuneWhileHidden ? started : QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SceneThroughTheTrayTest,
    ::testing::Values(TrayCase{"CheckFindsMail", {}, 2, "Kakasi.htm", "Kouka2.mid"},
                      TrayCase{"BackThenNoMail",
                               {&MainWindow::newMailSceneAction, &MainWindow::normalSceneAction},
                               0,
                               "Fish.htm",
                               nullptr}),
    [](const auto& row) { return std::string(row.param.name); });

// A scene program that is missing, or that crashes once asked to show a page:
// the scene keeps its stand-in over the program's empty window, and the program
// is started again only when the window is seen again, never in a loop.
class BrokenSceneProgramTest : public ::testing::TestWithParam<bool> {};

TEST_P(BrokenSceneProgramTest, TheStandInStaysAndTheProgramIsStartedAgainOnlyWhenSeenAgain) {
    TempFolder folder;
    const QString program = folder.file(QStringLiteral("brindle-scene"));
    if (GetParam()) {
        folder.write(QStringLiteral("brindle-scene"),
                     "#!/bin/sh\nread line && echo >>'" +
                         folder.file(QStringLiteral("starts")).toUtf8() + "' && kill -SEGV $$\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    }
    const auto starts = [&] { return folder.read(QStringLiteral("starts")).size(); };
    const int once = GetParam() ? 1 : 0;
    QWidget window;
    SceneProgramView view(&window, program);
    view.widget()->resize(40, 30);
    window.show();
    view.showPage(QUrl::fromLocalFile(folder.file(QStringLiteral("Fish.htm"))),
                  QStringLiteral("a"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return starts() == once; }, 10000));
    QTest::qWait(1000); // time enough for the failure to be seen
    // Neither a new page nor hiding, which would want pictures, starts it again.
    view.showPage(QUrl::fromLocalFile(folder.file(QStringLiteral("Kakasi.htm"))),
                  QStringLiteral("b"));
    view.setSeen(false);
    QTest::qWait(1000);
    EXPECT_EQ(starts(), once);
    EXPECT_EQ(view.widget()->grab().toImage().pixel(20, 15), QColor(Qt::white).rgb());

    view.setSeen(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return starts() == 2 * once; }, 10000));
}

INSTANTIATE_TEST_SUITE_P(Rows, BrokenSceneProgramTest, ::testing::Values(false, true),
                         [](const auto& row) { return row.param ? "Crashing" : "Missing"; });

} // namespace
} // namespace brindle::test
