#pragma once

namespace brindle {

// Result codes of the sound slot's command channel; 0 is success.
enum class MciError : int {
    None = 0,
    UnrecognizedCommand, // not one of the commands the slot understands
    NotOpen,             // no slot is open under the alias
    AliasInUse,          // open on an alias that is already open
    FileNotFound,        // the tune file is missing or unreadable
    NotMidiFile,         // the file is not a standard MIDI file
    NoSoundFont,         // no General MIDI sound font could be loaded
    NoAudioOutput,       // no audio output could be started
    CannotPlay,          // the synthesiser refused the tune
};

} // namespace brindle
