#pragma once

#include "presentation/sound/AudioOutput.h"
#include "presentation/sound/TunePlayer.h"

#include <QStringList>
#include <memory>

namespace brindle {

class MidiSlot;

// The tune player on FluidSynth: an open tune holds one MidiSlot until close()
// (or the destruction of this object) ends it.
class FluidSynthTunePlayer : public TunePlayer {
public:
    struct Options {
        QStringList soundFonts; // tried in order; the first that loads is used
        AudioOutput output = AudioOutput::SoundServer;
    };

    // General MIDI sound fonts installed by the distribution's packages, in order of preference.
    static QStringList installedSoundFonts();

    FluidSynthTunePlayer();
    explicit FluidSynthTunePlayer(Options options);
    ~FluidSynthTunePlayer() override;

    OpenResult open(const QString& file) override;
    bool play() override;
    bool playFromStart() override;
    void stop() override;
    void close() override;
    bool isStopped() const override;

    // The open tune, or nullptr; with RenderOnDemand its owner renders it.
    MidiSlot* tune() const { return tune_.get(); }

private:
    Options options_;
    std::unique_ptr<MidiSlot> tune_;
};

} // namespace brindle
