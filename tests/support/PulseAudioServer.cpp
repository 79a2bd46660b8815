#include "support/PulseAudioServer.h"

#include <QDeadlineTimer>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

namespace brindle::test {

using namespace Qt::StringLiterals;

namespace {

constexpr int startLimitMs = 10000;
constexpr int rate = 44100;
constexpr int channels = 2;
constexpr const char* sink = "test";

} // namespace

PulseAudioServer::~PulseAudioServer() {
    stop();
}

QProcessEnvironment PulseAudioServer::clientEnvironment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_RUNTIME_DIR"_s, folder_.file(u"runtime"_s));
    environment.insert(u"PULSE_SERVER"_s, u"unix:"_s + folder_.file(u"runtime/pulse/native"_s));
    environment.insert(u"PULSE_COOKIE"_s, folder_.file(u"home/.config/pulse/cookie"_s));
    return environment;
}

bool PulseAudioServer::setDefaultSink() const {
    QProcess pactl;
    pactl.setProcessEnvironment(clientEnvironment());
    pactl.start(u"pactl"_s, {u"set-default-sink"_s, QString::fromLatin1(sink)});
    return pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit &&
           pactl.exitCode() == 0;
}

bool PulseAudioServer::start() {
    folder_.makeFolder(u"home/.config"_s);
    folder_.makeFolder(u"runtime"_s);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, folder_.file(u"home"_s));
    environment.insert(u"XDG_CONFIG_HOME"_s, folder_.file(u"home/.config"_s));
    environment.insert(u"XDG_RUNTIME_DIR"_s, folder_.file(u"runtime"_s));
    environment.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(folder_.file(u"pulseaudio.log"_s));
    process_.start(u"pulseaudio"_s,
                   {u"--daemonize=no"_s, u"-n"_s, u"--exit-idle-time=-1"_s, u"-L"_s,
                    u"module-null-sink sink_name="_s + QString::fromLatin1(sink), u"-L"_s,
                    u"module-native-protocol-unix"_s});
    if (!process_.waitForStarted(startLimitMs)) {
        return false;
    }
    const QDeadlineTimer deadline(startLimitMs);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
        if (setDefaultSink()) {
            return true;
        }
        process_.waitForFinished(100);
    }
    return false;
}

void PulseAudioServer::stop() {
    if (process_.state() == QProcess::NotRunning) {
        return;
    }
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void PulseAudioServer::serveThisProcess() const {
    const QProcessEnvironment environment = clientEnvironment();
    for (const char* name : {"XDG_RUNTIME_DIR", "PULSE_SERVER", "PULSE_COOKIE"}) {
        qputenv(name, environment.value(QString::fromLatin1(name)).toLocal8Bit());
    }
}

std::optional<double> PulseAudioServer::recordPeak(double seconds) const {
    const qint64 wanted = qint64(seconds * rate) * channels * 2;
    QProcess parec;
    parec.setProcessEnvironment(clientEnvironment());
    parec.start(u"parec"_s,
                {u"-d"_s, QString::fromLatin1(sink) + u".monitor"_s, u"--format=s16le"_s,
                 u"--rate=%1"_s.arg(rate), u"--channels=%1"_s.arg(channels)});
    QByteArray recorded;
    const QDeadlineTimer deadline(qint64(seconds * 1000) + startLimitMs);
    while (recorded.size() < wanted && !deadline.hasExpired() &&
           parec.state() != QProcess::NotRunning) {
        parec.waitForReadyRead(100);
        recorded += parec.read(wanted - recorded.size());
    }
    parec.kill();
    parec.waitForFinished(5000);
    if (recorded.size() < wanted) {
        return std::nullopt;
    }
    int peak = 0;
    for (qsizetype at = 0; at + 1 < recorded.size(); at += 2) {
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(recorded.constData() + at))));
    }
    return peak / 32768.0;
}

QString PulseAudioServer::log() const {
    return QString::fromLocal8Bit(folder_.read(u"pulseaudio.log"_s));
}

} // namespace brindle::test
