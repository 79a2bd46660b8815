#pragma once

#include "support/TempFolder.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <optional>

namespace brindle::test {

// A private PulseAudio for one test: its home and runtime folder in a temporary folder, the
// native protocol on a socket there and a null sink as the default sink, whose monitor
// records what is played into it.
class PulseAudioServer {
public:
    PulseAudioServer() = default;
    ~PulseAudioServer();
    PulseAudioServer(const PulseAudioServer&) = delete;
    PulseAudioServer& operator=(const PulseAudioServer&) = delete;

    // Starts PulseAudio and waits until its null sink is the default.
    bool start();
    void stop();

    // Points this process's sound clients at this server alone (also away from any PipeWire
    // of the desktop, which is looked for in the runtime folder).
    void serveThisProcess() const;
    // Records the sink's monitor for that long; the loudest sample, 0..1, or nothing when
    // the recording failed.
    std::optional<double> recordPeak(double seconds) const;
    QString log() const;

private:
    QProcessEnvironment clientEnvironment() const;
    bool setDefaultSink() const;

    TempFolder folder_;
    QProcess process_;
};

} // namespace brindle::test
