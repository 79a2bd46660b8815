#pragma once

#include "presentation/sound/AudioOutput.h"
#include "presentation/sound/MciError.h"
#include "presentation/sound/MediaControl.h"

#include <QStringList>
#include <map>
#include <memory>

namespace brindle {

class MidiSlot;
struct MciCommand;

// The sound slot on FluidSynth: each alias opened by "open" holds one MidiSlot until
// "close" (or the destruction of this object) ends it.
class FluidSynthMediaControl : public MediaControl {
public:
    struct Options {
        QStringList soundFonts; // tried in order; the first that loads is used
        AudioOutput output = AudioOutput::SoundServer;
    };

    // General MIDI sound fonts installed by the distribution's packages, in order of preference.
    static QStringList installedSoundFonts();

    FluidSynthMediaControl();
    explicit FluidSynthMediaControl(Options options);
    ~FluidSynthMediaControl() override;

    int mciSendString(const QString& command, QString* reply = nullptr) override;

    // The slot open under alias, or nullptr; with RenderOnDemand its owner renders it.
    MidiSlot* slot(const QString& alias) const;

private:
    MciError open(const MciCommand& command);
    MciError send(const MciCommand& command, QString* reply);

    Options options_;
    std::map<QString, std::unique_ptr<MidiSlot>> slots_;
};

} // namespace brindle
