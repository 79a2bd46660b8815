#include "presentation/sound/FluidSynthMediaControl.h"

#include "presentation/sound/MciCommand.h"
#include "presentation/sound/MidiSlot.h"

#include <QFile>

namespace brindle {

namespace {

// Far above any tune; keeps a wrong file from being read into memory whole.
constexpr qint64 MaxTuneBytes = 16 * 1024 * 1024;

MciError readTune(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return MciError::FileNotFound;
    }
    if (file.size() > MaxTuneBytes) {
        return MciError::NotMidiFile;
    }
    bytes = file.readAll();
    // A standard MIDI file begins with its header chunk "MThd" of 6 bytes.
    static constexpr char header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    if (!bytes.startsWith(QByteArrayView(header, sizeof header))) {
        return MciError::NotMidiFile;
    }
    return MciError::None;
}

} // namespace

QStringList FluidSynthMediaControl::installedSoundFonts() {
    return {
        QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
        QStringLiteral("/usr/share/soundfonts/default.sf2"),
    };
}

FluidSynthMediaControl::FluidSynthMediaControl()
    : FluidSynthMediaControl(Options{installedSoundFonts(), AudioOutput::SoundServer}) {}

FluidSynthMediaControl::FluidSynthMediaControl(Options options) : options_(std::move(options)) {}

// The slots close as the map goes: each stops its audio driver before anything else.
FluidSynthMediaControl::~FluidSynthMediaControl() = default;

int FluidSynthMediaControl::mciSendString(const QString& command, QString* reply) {
    const std::optional<MciCommand> parsed = MciCommand::parse(command);
    const MciError result = parsed ? send(*parsed, reply) : MciError::UnrecognizedCommand;
    return static_cast<int>(result);
}

MidiSlot* FluidSynthMediaControl::slot(const QString& alias) const {
    const auto found = slots_.find(alias.toCaseFolded());
    return found == slots_.end() ? nullptr : found->second.get();
}

MciError FluidSynthMediaControl::send(const MciCommand& command, QString* reply) {
    if (command.verb == MciCommand::Verb::Open) {
        return open(command);
    }
    const auto found = slots_.find(command.alias);
    if (found == slots_.end()) {
        return MciError::NotOpen;
    }
    MidiSlot& tune = *found->second;
    switch (command.verb) {
    case MciCommand::Verb::Play: {
        const bool started = command.fromStart ? tune.playFromStart() : tune.play();
        return started ? MciError::None : MciError::CannotPlay;
    }
    case MciCommand::Verb::Stop:
        tune.stop();
        return MciError::None;
    case MciCommand::Verb::Close:
        slots_.erase(found);
        return MciError::None;
    case MciCommand::Verb::StatusMode:
        if (reply) {
            *reply = tune.isPlaying() ? QStringLiteral("playing") : QStringLiteral("stopped");
        }
        return MciError::None;
    case MciCommand::Verb::Open:
        break;
    }
    return MciError::UnrecognizedCommand;
}

MciError FluidSynthMediaControl::open(const MciCommand& command) {
    if (slots_.contains(command.alias)) {
        return MciError::AliasInUse;
    }
    QByteArray midiFile;
    if (const MciError unreadable = readTune(command.file, midiFile);
        unreadable != MciError::None) {
        return unreadable;
    }
    auto tune = std::make_unique<MidiSlot>();
    if (!tune->loadSoundFont(options_.soundFonts)) {
        return MciError::NoSoundFont;
    }
    if (!tune->loadTune(midiFile)) {
        return MciError::CannotPlay;
    }
    if (!tune->startOutput(options_.output)) {
        return MciError::NoAudioOutput;
    }
    slots_.emplace(command.alias, std::move(tune));
    return MciError::None;
}

} // namespace brindle
