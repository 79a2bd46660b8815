#pragma once

namespace brindle {

// Where a tune's sound goes.
enum class AudioOutput {
    SoundServer,    // the desktop's sound server (PipeWire, PulseAudio, else ALSA)
    RenderOnDemand, // no device: the owner pulls samples with MidiSlot::render
};

} // namespace brindle
