#include "presentation/sound/FluidSynthTunePlayer.h"
#include "presentation/sound/MidiSlot.h"
#include "support/PulseAudioServer.h"
#include "support/TempFolder.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace brindle {
namespace {

using namespace Qt::StringLiterals;

constexpr int SampleRate = 44100; // FluidSynth's default
constexpr int Chunk = SampleRate / 10;
constexpr double Audible = 0.01;

const QString soundDir = QStringLiteral(BRINDLE_SOUND_DIR);

// What a stretch of rendering produced.
struct Rendered {
    double seconds = 0;
    float peak = 0;
};

// Renders in 100 ms steps while the tune plays, at most maxSeconds.
Rendered renderWhilePlaying(FluidSynthTunePlayer& sound, double maxSeconds) {
    Rendered rendered;
    while (rendered.seconds < maxSeconds) {
        for (const float sample : sound.tune()->render(Chunk)) {
            rendered.peak = std::max(rendered.peak, std::abs(sample));
        }
        rendered.seconds += double(Chunk) / SampleRate;
        if (sound.isStopped()) {
            break;
        }
    }
    return rendered;
}

float peakOf(MidiSlot& slot, double seconds) {
    float peak = 0;
    for (const float sample : slot.render(int(seconds * SampleRate))) {
        peak = std::max(peak, std::abs(sample));
    }
    return peak;
}

using OpenResult = TunePlayer::OpenResult;

class FluidSynthTunePlayerTest : public ::testing::Test {
protected:
    FluidSynthTunePlayer sound{
        {FluidSynthTunePlayer::installedSoundFonts(), AudioOutput::RenderOnDemand}};
};

TEST_F(FluidSynthTunePlayerTest, EachTunePlaysAudiblyToItsEndAndThenReportsStopped) {
    for (const QString& name : {u"Kouka.mid"_s, u"Kouka2.mid"_s}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(sound.open(soundDir + u'/' + name), OpenResult::Opened);
        EXPECT_TRUE(sound.isStopped()); // opened, not yet started
        ASSERT_TRUE(sound.play());
        EXPECT_FALSE(sound.isStopped());

        const Rendered whole = renderWhilePlaying(sound, 30);
        EXPECT_GT(whole.peak, Audible);
        // A few bars long; the end is reported when the last event has passed, without
        // waiting for the notes to fade out.
        EXPECT_GT(whole.seconds, 3);
        EXPECT_LT(whole.seconds, 10);
        EXPECT_TRUE(sound.isStopped());
        sound.close();
    }
}

TEST_F(FluidSynthTunePlayerTest, PlayFromZeroRestartsAFinishedTune) {
    ASSERT_EQ(sound.open(soundDir + u"/Kouka2.mid"_s), OpenResult::Opened);
    ASSERT_TRUE(sound.play());
    const Rendered first = renderWhilePlaying(sound, 30);
    ASSERT_TRUE(sound.isStopped());
    peakOf(*sound.tune(), 3); // the last notes fade out
    ASSERT_LT(peakOf(*sound.tune(), 0.5), Audible);

    // A finished tune plays on at its end: nothing more to hear.
    ASSERT_TRUE(sound.play());
    EXPECT_LT(renderWhilePlaying(sound, 30).seconds, 1);

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(sound.playFromStart());
        EXPECT_FALSE(sound.isStopped());
        const Rendered again = renderWhilePlaying(sound, 30);
        EXPECT_GT(again.peak, Audible);
        EXPECT_NEAR(again.seconds, first.seconds, 0.25);
        EXPECT_TRUE(sound.isStopped());
    }
}

TEST_F(FluidSynthTunePlayerTest, StopSilencesAndPlayResumesWhereItStopped) {
    ASSERT_EQ(sound.open(soundDir + u"/Kouka.mid"_s), OpenResult::Opened);
    ASSERT_TRUE(sound.play());
    MidiSlot& slot = *sound.tune();
    ASSERT_GT(peakOf(slot, 3), Audible);

    sound.stop();
    EXPECT_TRUE(sound.isStopped());
    peakOf(slot, 3); // released notes fade out
    EXPECT_LT(peakOf(slot, 1), Audible);
    EXPECT_TRUE(sound.isStopped());

    ASSERT_TRUE(sound.play());
    const Rendered rest = renderWhilePlaying(sound, 30);
    EXPECT_GT(rest.peak, Audible);
    EXPECT_LT(rest.seconds, 6); // the remainder of an eight-second tune, not all of it
    EXPECT_TRUE(sound.isStopped());
}

TEST_F(FluidSynthTunePlayerTest, ASecondOpenFailsAndTheFirstTunePlaysOn) {
    ASSERT_EQ(sound.open(soundDir + u"/Kouka.mid"_s), OpenResult::Opened);
    ASSERT_TRUE(sound.play());
    MidiSlot* first = sound.tune();
    peakOf(*first, 1);

    EXPECT_EQ(sound.open(soundDir + u"/Kouka2.mid"_s), OpenResult::AlreadyOpen);
    EXPECT_EQ(sound.tune(), first);
    EXPECT_TRUE(sound.play()); // a playing tune plays on
    EXPECT_FALSE(sound.isStopped());
    EXPECT_GT(peakOf(*first, 2), Audible);
}

TEST_F(FluidSynthTunePlayerTest, CallsWithoutAnOpenTuneDoNothing) {
    sound.stop();
    sound.close();
    EXPECT_FALSE(sound.play());
    EXPECT_FALSE(sound.playFromStart());
    EXPECT_FALSE(sound.isStopped()); // nothing open is not a stopped tune

    ASSERT_EQ(sound.open(soundDir + u"/Kouka.mid"_s), OpenResult::Opened);
    ASSERT_TRUE(sound.play());
    sound.close();
    EXPECT_EQ(sound.tune(), nullptr);
    EXPECT_FALSE(sound.isStopped());
    EXPECT_EQ(sound.open(soundDir + u"/Kouka.mid"_s), OpenResult::Opened);
}

TEST_F(FluidSynthTunePlayerTest, OpensAPathWithBlanksAndJapaneseCharacters) {
    const test::TempFolder folder;
    QFile tune(soundDir + u"/Kouka2.mid"_s);
    ASSERT_TRUE(tune.open(QIODevice::ReadOnly));
    folder.write(u"メール 通知/Sound/Kouka2.mid"_s, tune.readAll());

    ASSERT_EQ(sound.open(folder.file(u"メール 通知/Sound/Kouka2.mid"_s)), OpenResult::Opened);
    ASSERT_TRUE(sound.play());
    EXPECT_GT(peakOf(*sound.tune(), 2), Audible);
}

TEST_F(FluidSynthTunePlayerTest, OpenFailsForFilesThatAreNoTunes) {
    const test::TempFolder folder;
    folder.write(u"page.mid"_s, "<html>not a tune</html>");
    folder.write(u"empty.mid"_s, "");

    EXPECT_EQ(sound.open(folder.file(u"missing.mid"_s)), OpenResult::FileNotFound);
    EXPECT_EQ(sound.open(folder.path()), OpenResult::FileNotFound);
    EXPECT_EQ(sound.open(folder.file(u"page.mid"_s)), OpenResult::NotMidiFile);
    EXPECT_EQ(sound.open(folder.file(u"empty.mid"_s)), OpenResult::NotMidiFile);
    EXPECT_EQ(sound.tune(), nullptr);
    EXPECT_FALSE(sound.isStopped());
}

TEST_F(FluidSynthTunePlayerTest, ADamagedTuneOpensButPlaysNothing) {
    const test::TempFolder folder;
    QFile tune(soundDir + u"/Kouka.mid"_s);
    ASSERT_TRUE(tune.open(QIODevice::ReadOnly));
    folder.write(u"cut.mid"_s, tune.read(40)); // the header and the start of the track

    ASSERT_EQ(sound.open(folder.file(u"cut.mid"_s)), OpenResult::Opened);
    sound.play();
    EXPECT_LT(renderWhilePlaying(sound, 30).seconds, 1);
    EXPECT_TRUE(sound.isStopped());
    sound.playFromStart();
    EXPECT_LT(renderWhilePlaying(sound, 30).seconds, 1);
}

TEST(FluidSynthSoundFontTest, OpenFailsWithoutALoadableSoundFont) {
    const test::TempFolder folder;
    folder.write(u"broken.sf2"_s, QByteArray(4096, 'x'));
    FluidSynthTunePlayer sound{{{folder.file(u"missing.sf2"_s), folder.file(u"broken.sf2"_s)},
                                AudioOutput::RenderOnDemand}};
    EXPECT_EQ(sound.open(soundDir + u"/Kouka.mid"_s), OpenResult::NoSoundFont);
    EXPECT_EQ(sound.tune(), nullptr);

    // The first candidate that loads is used.
    FluidSynthTunePlayer fallback{
        {{folder.file(u"broken.sf2"_s), u"/usr/share/sounds/sf2/TimGM6mb.sf2"_s},
         AudioOutput::RenderOnDemand}};
    EXPECT_EQ(fallback.open(soundDir + u"/Kouka.mid"_s), OpenResult::Opened);
}

// Through a real sound server: the tune is heard on the null sink, and no more once stopped.
TEST(FluidSynthSoundServerTest, TheTuneIsHeardOnTheSoundServerUntilStopped) {
    test::PulseAudioServer server;
    ASSERT_TRUE(server.start()) << server.log().toStdString();
    server.serveThisProcess(); // each test runs in its own process
    const std::optional<double> before = server.recordPeak(0.5);
    ASSERT_TRUE(before.has_value());
    EXPECT_LT(*before, Audible);

    FluidSynthTunePlayer sound;
    ASSERT_EQ(sound.open(soundDir + u"/Kouka.mid"_s), OpenResult::Opened);
    ASSERT_TRUE(sound.play());
    EXPECT_GT(server.recordPeak(2).value_or(0), Audible);

    sound.stop();
    server.recordPeak(3); // released notes fade out
    EXPECT_LT(server.recordPeak(1).value_or(1), Audible);
}

} // namespace
} // namespace brindle
