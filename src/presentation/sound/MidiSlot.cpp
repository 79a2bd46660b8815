#include "presentation/sound/MidiSlot.h"

#include <QFile>
#include <QLoggingCategory>
#include <array>
#include <mutex>

namespace brindle {

namespace {

Q_LOGGING_CATEGORY(lcSound, "brindle.sound", QtWarningMsg)

// FluidSynth writes to stderr by default. The program stays quiet: information and
// debug messages are dropped, problems go to a debug category that is off by default
// (QT_LOGGING_RULES="brindle.sound.debug=true" shows them).
void routeFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        const auto toDebugCategory = [](int, const char* message, void*) {
            qCDebug(lcSound) << "FluidSynth:" << message;
        };
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN}) {
            fluid_set_log_function(level, toDebugCategory, nullptr);
        }
        for (int level : {FLUID_INFO, FLUID_DBG}) {
            fluid_set_log_function(level, nullptr, nullptr);
        }
    });
}

// Tried in this order; the first that starts wins.
constexpr std::array soundServerDrivers{"pipewire", "pulseaudio", "alsa"};

// Settings for a tune that plays in the background, where latency does not matter but every
// wake-up costs power. FluidSynth's defaults (64-frame periods, chorus and reverb, 256 voices)
// woke the audio thread about 10,000 times a second; with a tune playing the program took 22 %
// of a core and PulseAudio 18 % more. With these: about 200 wake-ups of the two sound threads
// (430 with 2048-frame periods) and 1 % of a core for them (1.8 %; bench/idle).
struct IntSetting {
    const char* name;
    int value;
};
constexpr std::array backgroundTuneSettings{
    // About 93 ms of sound per period; PulseAudio holds one period, ALSA two. A tune
    // starts and stops that much later, and never breaks up.
    IntSetting{"audio.period-size", 4096},
    IntSetting{"audio.periods", 2},
    IntSetting{"synth.chorus.active", 0},  // effects a background tune does without
    IntSetting{"synth.reverb.active", 0},
    IntSetting{"synth.polyphony", 128}, // ample for a General MIDI file's 16 channels
};

} // namespace

MidiSlot::MidiSlot() {
    routeFluidSynthLog();
    settings_.reset(new_fluid_settings());
    for (const auto& [name, value] : backgroundTuneSettings) {
        fluid_settings_setint(settings_.get(), name, value);
    }
    synth_.reset(new_fluid_synth(settings_.get()));
}

MidiSlot::~MidiSlot() = default;

bool MidiSlot::loadSoundFont(const QStringList& candidates) {
    if (!synth_) {
        return false;
    }
    for (const QString& path : candidates) {
        if (QFile::exists(path) &&
            fluid_synth_sfload(synth_.get(), QFile::encodeName(path).constData(), 1) !=
                FLUID_FAILED) {
            return true;
        }
    }
    return false;
}

bool MidiSlot::loadTune(const QByteArray& midiFile) {
    if (!synth_ || player_) {
        return false;
    }
    player_.reset(new_fluid_player(synth_.get()));
    return player_ &&
           fluid_player_add_mem(player_.get(), midiFile.constData(),
                                static_cast<size_t>(midiFile.size())) == FLUID_OK &&
           fluid_player_set_tick_callback(player_.get(), &MidiSlot::onTick, this) == FLUID_OK;
}

bool MidiSlot::startOutput(AudioOutput output) {
    if (!synth_ || driver_) {
        return false;
    }
    if (output == AudioOutput::RenderOnDemand) {
        return true;
    }
    for (const char* name : soundServerDrivers) {
        fluid_settings_setstr(settings_.get(), "audio.driver", name);
        driver_.reset(new_fluid_audio_driver(settings_.get(), synth_.get()));
        if (driver_) {
            return true;
        }
    }
    return false;
}

bool MidiSlot::play() {
    return player_ && fluid_player_play(player_.get()) == FLUID_OK;
}

bool MidiSlot::playFromStart() {
    // A player paused at the end (or stopped) keeps its file loaded: seek back and resume.
    return player_ && fluid_player_seek(player_.get(), 0) == FLUID_OK && play();
}

void MidiSlot::stop() {
    if (player_) {
        fluid_player_stop(player_.get());
    }
}

bool MidiSlot::isPlaying() const {
    return player_ && fluid_player_get_status(player_.get()) == FLUID_PLAYER_PLAYING;
}

std::vector<float> MidiSlot::render(int frames) {
    if (driver_ || !synth_ || frames <= 0) {
        return {};
    }
    std::vector<float> samples(static_cast<size_t>(frames) * 2);
    fluid_synth_write_float(synth_.get(), frames, samples.data(), 0, 2, samples.data(), 1, 2);
    return samples;
}

// Runs on the audio thread (or inside render) after the player has sent the events up to
// tick. Past the last event the player pauses, which also releases the sounding notes.
int MidiSlot::onTick(void* slot, int tick) {
    fluid_player_t* player = static_cast<MidiSlot*>(slot)->player_.get();
    const int lastTick = fluid_player_get_total_ticks(player);
    if (lastTick > 0 && tick >= lastTick) {
        fluid_player_stop(player);
    }
    return FLUID_OK;
}

} // namespace brindle
