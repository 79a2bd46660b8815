#pragma once

#include "presentation/sound/AudioOutput.h"

#include <QByteArray>
#include <QStringList>
#include <fluidsynth.h>
#include <memory>
#include <vector>

namespace brindle {

// One open tune: a FluidSynth synthesiser with a General MIDI sound font, a MIDI file
// player and, unless rendered on demand, an audio driver that pulls the sound.
// At the tune's end the player pauses there, so the slot reports "stopped" at once
// (without waiting for the last notes to fade) and can be started again from 0.
class MidiSlot {
public:
    MidiSlot();
    MidiSlot(const MidiSlot&) = delete;
    MidiSlot& operator=(const MidiSlot&) = delete;
    ~MidiSlot();

    // Loads the first sound font of the list that FluidSynth accepts.
    bool loadSoundFont(const QStringList& candidates);
    // Queues a standard MIDI file, given as its bytes.
    bool loadTune(const QByteArray& midiFile);
    // Starts the audio driver; with RenderOnDemand there is none and this always succeeds.
    bool startOutput(AudioOutput output);

    bool play();
    bool playFromStart();
    void stop();
    bool isPlaying() const;

    // Renders the next frames as interleaved stereo samples; this is what advances the
    // player when no audio driver runs. Returns nothing while an audio driver runs.
    std::vector<float> render(int frames);

private:
    static int onTick(void* slot, int tick);

    struct Deleter {
        void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
        void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
        void operator()(fluid_player_t* player) const { delete_fluid_player(player); }
        void operator()(fluid_audio_driver_t* driver) const { delete_fluid_audio_driver(driver); }
    };

    // Declared in creation order: the members are destroyed in reverse, so the audio
    // driver (and its thread) goes first, then the player, the synthesiser, the settings.
    std::unique_ptr<fluid_settings_t, Deleter> settings_;
    std::unique_ptr<fluid_synth_t, Deleter> synth_;
    std::unique_ptr<fluid_player_t, Deleter> player_;
    std::unique_ptr<fluid_audio_driver_t, Deleter> driver_;
};

} // namespace brindle
