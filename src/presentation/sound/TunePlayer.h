#pragma once

#include <QString>

namespace brindle {

// Plays one tune file at a time. Every call on a player with no tune open
// does nothing, so callers need not track whether one is.
class TunePlayer {
public:
    enum class OpenResult {
        Opened,
        AlreadyOpen,   // a tune is open: it stays, as it is
        FileNotFound,  // the file is missing or unreadable
        NotMidiFile,   // the file is not a standard MIDI file
        NoSoundFont,   // no General MIDI sound font could be loaded
        CannotPlay,    // the synthesiser refused the tune
        NoAudioOutput, // no audio output could be started
    };

    virtual ~TunePlayer() = default;
    // Opens the tune, stopped at its start.
    virtual OpenResult open(const QString& file) = 0;
    // Plays on from where the tune stands; false when it cannot.
    virtual bool play() = 0;
    virtual bool playFromStart() = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
    // A tune is open and not playing: stopped, or played to its end.
    virtual bool isStopped() const = 0;
};

} // namespace brindle
