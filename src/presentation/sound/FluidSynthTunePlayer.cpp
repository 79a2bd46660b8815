#include "presentation/sound/FluidSynthTunePlayer.h"

#include "presentation/sound/MidiSlot.h"

#include <QFile>

namespace brindle {

namespace {

using OpenResult = TunePlayer::OpenResult;

// Far above any tune; keeps a wrong file from being read into memory whole.
constexpr qint64 MaxTuneBytes = 16 * 1024 * 1024;

OpenResult readTune(const QString& path, QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return OpenResult::FileNotFound;
    }
    if (file.size() > MaxTuneBytes) {
        return OpenResult::NotMidiFile;
    }
    bytes = file.readAll();
    // A standard MIDI file begins with its header chunk "MThd" of 6 bytes.
    static constexpr char header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    if (!bytes.startsWith(QByteArrayView(header, sizeof header))) {
        return OpenResult::NotMidiFile;
    }
    return OpenResult::Opened;
}

} // namespace

QStringList FluidSynthTunePlayer::installedSoundFonts() {
    return {
        QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
        QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
        QStringLiteral("/usr/share/soundfonts/default.sf2"),
    };
}

FluidSynthTunePlayer::FluidSynthTunePlayer()
    : FluidSynthTunePlayer(Options{installedSoundFonts(), AudioOutput::SoundServer}) {}

FluidSynthTunePlayer::FluidSynthTunePlayer(Options options) : options_(std::move(options)) {}

// The open tune stops its audio driver before anything else goes.
FluidSynthTunePlayer::~FluidSynthTunePlayer() = default;

TunePlayer::OpenResult FluidSynthTunePlayer::open(const QString& file) {
    if (tune_) {
        return OpenResult::AlreadyOpen;
    }
    QByteArray midiFile;
    if (const OpenResult unreadable = readTune(file, midiFile); unreadable != OpenResult::Opened) {
        return unreadable;
    }
    auto tune = std::make_unique<MidiSlot>();
    if (!tune->loadSoundFont(options_.soundFonts)) {
        return OpenResult::NoSoundFont;
    }
    if (!tune->loadTune(midiFile)) {
        return OpenResult::CannotPlay;
    }
    if (!tune->startOutput(options_.output)) {
        return OpenResult::NoAudioOutput;
    }
    tune_ = std::move(tune);
    return OpenResult::Opened;
}

bool FluidSynthTunePlayer::play() {
    return tune_ && tune_->play();
}

bool FluidSynthTunePlayer::playFromStart() {
    return tune_ && tune_->playFromStart();
}

void FluidSynthTunePlayer::stop() {
    if (tune_) {
        tune_->stop();
    }
}

void FluidSynthTunePlayer::close() {
    tune_.reset();
}

bool FluidSynthTunePlayer::isStopped() const {
    return tune_ && !tune_->isPlaying();
}

} // namespace brindle
