#include "presentation/sound/FluidSynthMediaControl.h"
#include "presentation/sound/MidiSlot.h"
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

int code(MciError error) {
    return static_cast<int>(error);
}

QString openCommand(const QString& file) {
    return u"open \""_s + file + u"\" alias bgm"_s;
}

// What a stretch of rendering produced.
struct Rendered {
    double seconds = 0;
    float peak = 0;
};

// Renders in 100 ms steps while the tune plays, at most maxSeconds.
Rendered renderWhilePlaying(FluidSynthMediaControl& sound, double maxSeconds) {
    Rendered rendered;
    QString mode;
    while (rendered.seconds < maxSeconds) {
        for (const float sample : sound.slot(u"bgm"_s)->render(Chunk)) {
            rendered.peak = std::max(rendered.peak, std::abs(sample));
        }
        rendered.seconds += double(Chunk) / SampleRate;
        if (sound.mciSendString(u"status bgm mode"_s, &mode) != 0 || mode != u"playing"_s) {
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

class FluidSynthMediaControlTest : public ::testing::Test {
protected:
    QString mode() {
        QString reply;
        EXPECT_EQ(sound.mciSendString(u"status bgm mode"_s, &reply), 0);
        return reply;
    }

    FluidSynthMediaControl sound{
        {FluidSynthMediaControl::installedSoundFonts(), AudioOutput::RenderOnDemand}};
};

TEST_F(FluidSynthMediaControlTest, EachTunePlaysAudiblyToItsEndAndThenReportsStopped) {
    for (const QString& name : {u"Kouka.mid"_s, u"Kouka2.mid"_s}) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(sound.mciSendString(openCommand(soundDir + u'/' + name)), 0);
        EXPECT_EQ(mode(), u"stopped"_s); // opened, not yet started
        ASSERT_EQ(sound.mciSendString(u"play bgm"_s), 0);
        EXPECT_EQ(mode(), u"playing"_s);

        const Rendered whole = renderWhilePlaying(sound, 30);
        EXPECT_GT(whole.peak, Audible);
        // A few bars long; the end is reported when the last event has passed, without
        // waiting for the notes to fade out.
        EXPECT_GT(whole.seconds, 3);
        EXPECT_LT(whole.seconds, 10);
        EXPECT_EQ(mode(), u"stopped"_s);
        EXPECT_EQ(sound.mciSendString(u"close bgm"_s), 0);
    }
}

TEST_F(FluidSynthMediaControlTest, PlayFromZeroRestartsAFinishedTune) {
    ASSERT_EQ(sound.mciSendString(openCommand(soundDir + u"/Kouka2.mid"_s)), 0);
    ASSERT_EQ(sound.mciSendString(u"play bgm"_s), 0);
    const Rendered first = renderWhilePlaying(sound, 30);
    ASSERT_EQ(mode(), u"stopped"_s);
    peakOf(*sound.slot(u"bgm"_s), 3); // the last notes fade out
    ASSERT_LT(peakOf(*sound.slot(u"bgm"_s), 0.5), Audible);

    // A finished tune plays on at its end: nothing more to hear.
    ASSERT_EQ(sound.mciSendString(u"play bgm"_s), 0);
    EXPECT_LT(renderWhilePlaying(sound, 30).seconds, 1);

    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(sound.mciSendString(u"play bgm from 0"_s), 0);
        EXPECT_EQ(mode(), u"playing"_s);
        const Rendered again = renderWhilePlaying(sound, 30);
        EXPECT_GT(again.peak, Audible);
        EXPECT_NEAR(again.seconds, first.seconds, 0.25);
        EXPECT_EQ(mode(), u"stopped"_s);
    }
}

TEST_F(FluidSynthMediaControlTest, StopSilencesAndPlayResumesWhereItStopped) {
    ASSERT_EQ(sound.mciSendString(openCommand(soundDir + u"/Kouka.mid"_s)), 0);
    ASSERT_EQ(sound.mciSendString(u"play bgm"_s), 0);
    MidiSlot& slot = *sound.slot(u"bgm"_s);
    ASSERT_GT(peakOf(slot, 3), Audible);

    EXPECT_EQ(sound.mciSendString(u"STOP bgm"_s), 0);
    EXPECT_EQ(mode(), u"stopped"_s);
    peakOf(slot, 3); // released notes fade out
    EXPECT_LT(peakOf(slot, 1), Audible);
    EXPECT_EQ(mode(), u"stopped"_s);

    ASSERT_EQ(sound.mciSendString(u"play bgm"_s), 0);
    const Rendered rest = renderWhilePlaying(sound, 30);
    EXPECT_GT(rest.peak, Audible);
    EXPECT_LT(rest.seconds, 6); // the remainder of an eight-second tune, not all of it
    EXPECT_EQ(mode(), u"stopped"_s);
}

TEST_F(FluidSynthMediaControlTest, SecondOpenOnTheAliasFailsAndTheFirstTunePlaysOn) {
    ASSERT_EQ(sound.mciSendString(openCommand(soundDir + u"/Kouka.mid"_s)), 0);
    ASSERT_EQ(sound.mciSendString(u"play bgm"_s), 0);
    MidiSlot* first = sound.slot(u"bgm"_s);
    peakOf(*first, 1);

    EXPECT_EQ(sound.mciSendString(openCommand(soundDir + u"/Kouka2.mid"_s)),
              code(MciError::AliasInUse));
    EXPECT_EQ(sound.mciSendString(u"open \""_s + soundDir + u"/Kouka2.mid\" alias BGM"_s),
              code(MciError::AliasInUse));
    EXPECT_EQ(sound.slot(u"bgm"_s), first);
    EXPECT_EQ(sound.mciSendString(u"play bgm"_s), 0); // a playing tune plays on
    EXPECT_EQ(mode(), u"playing"_s);
    EXPECT_GT(peakOf(*first, 2), Audible);

    // Another alias is a slot of its own.
    EXPECT_EQ(sound.mciSendString(u"open \""_s + soundDir + u"/Kouka2.mid\" alias other"_s), 0);
    EXPECT_NE(sound.slot(u"other"_s), nullptr);
}

TEST_F(FluidSynthMediaControlTest, CommandsOnAClosedAliasFailHarmlessly) {
    QString reply = u"untouched"_s;
    EXPECT_EQ(sound.mciSendString(u"stop bgm"_s), code(MciError::NotOpen));
    EXPECT_EQ(sound.mciSendString(u"close bgm"_s), code(MciError::NotOpen));
    EXPECT_EQ(sound.mciSendString(u"play bgm from 0"_s), code(MciError::NotOpen));
    EXPECT_EQ(sound.mciSendString(u"status bgm mode"_s, &reply), code(MciError::NotOpen));
    EXPECT_EQ(reply, u"untouched"_s);
    EXPECT_EQ(sound.mciSendString(u"seek bgm to start"_s), code(MciError::UnrecognizedCommand));

    ASSERT_EQ(sound.mciSendString(openCommand(soundDir + u"/Kouka.mid"_s)), 0);
    ASSERT_EQ(sound.mciSendString(u"play bgm"_s), 0);
    EXPECT_EQ(sound.mciSendString(u"close bgm"_s), 0);
    EXPECT_EQ(sound.slot(u"bgm"_s), nullptr);
    EXPECT_EQ(sound.mciSendString(u"status bgm mode"_s, &reply), code(MciError::NotOpen));
    EXPECT_EQ(sound.mciSendString(openCommand(soundDir + u"/Kouka.mid"_s)), 0);
}

TEST_F(FluidSynthMediaControlTest, OpensAPathWithBlanksAndJapaneseCharacters) {
    const test::TempFolder folder;
    QFile tune(soundDir + u"/Kouka2.mid"_s);
    ASSERT_TRUE(tune.open(QIODevice::ReadOnly));
    folder.write(u"メール 通知/Sound/Kouka2.mid"_s, tune.readAll());

    ASSERT_EQ(sound.mciSendString(openCommand(folder.file(u"メール 通知/Sound/Kouka2.mid"_s))), 0);
    ASSERT_EQ(sound.mciSendString(u"play bgm"_s), 0);
    EXPECT_GT(peakOf(*sound.slot(u"bgm"_s), 2), Audible);
}

TEST_F(FluidSynthMediaControlTest, OpenFailsForFilesThatAreNoTunes) {
    const test::TempFolder folder;
    folder.write(u"page.mid"_s, "<html>not a tune</html>");
    folder.write(u"empty.mid"_s, "");

    EXPECT_EQ(sound.mciSendString(openCommand(folder.file(u"missing.mid"_s))),
              code(MciError::FileNotFound));
    EXPECT_EQ(sound.mciSendString(openCommand(folder.path())), code(MciError::FileNotFound));
    EXPECT_EQ(sound.mciSendString(openCommand(folder.file(u"page.mid"_s))),
              code(MciError::NotMidiFile));
    EXPECT_EQ(sound.mciSendString(openCommand(folder.file(u"empty.mid"_s))),
              code(MciError::NotMidiFile));
    EXPECT_EQ(sound.slot(u"bgm"_s), nullptr);
    QString reply;
    EXPECT_EQ(sound.mciSendString(u"status bgm mode"_s, &reply), code(MciError::NotOpen));
}

TEST_F(FluidSynthMediaControlTest, ADamagedTuneOpensButPlaysNothing) {
    const test::TempFolder folder;
    QFile tune(soundDir + u"/Kouka.mid"_s);
    ASSERT_TRUE(tune.open(QIODevice::ReadOnly));
    folder.write(u"cut.mid"_s, tune.read(40)); // the header and the start of the track

    ASSERT_EQ(sound.mciSendString(openCommand(folder.file(u"cut.mid"_s))), 0);
    sound.mciSendString(u"play bgm"_s);
    EXPECT_LT(renderWhilePlaying(sound, 30).seconds, 1);
    EXPECT_EQ(mode(), u"stopped"_s);
    sound.mciSendString(u"play bgm from 0"_s);
    EXPECT_LT(renderWhilePlaying(sound, 30).seconds, 1);
}

TEST(FluidSynthSoundFontTest, OpenFailsWithoutALoadableSoundFont) {
    const test::TempFolder folder;
    folder.write(u"broken.sf2"_s, QByteArray(4096, 'x'));
    FluidSynthMediaControl sound{{{folder.file(u"missing.sf2"_s), folder.file(u"broken.sf2"_s)},
                                  AudioOutput::RenderOnDemand}};
    EXPECT_EQ(sound.mciSendString(openCommand(soundDir + u"/Kouka.mid"_s)),
              code(MciError::NoSoundFont));
    EXPECT_EQ(sound.slot(u"bgm"_s), nullptr);

    // The first candidate that loads is used.
    FluidSynthMediaControl fallback{
        {{folder.file(u"broken.sf2"_s), u"/usr/share/sounds/sf2/TimGM6mb.sf2"_s},
         AudioOutput::RenderOnDemand}};
    EXPECT_EQ(fallback.mciSendString(openCommand(soundDir + u"/Kouka.mid"_s)), 0);
}

} // namespace
} // namespace brindle
