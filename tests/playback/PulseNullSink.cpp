#include "PulseNullSink.h"

#include <alsa/asoundlib.h>

#include <QProcessEnvironment>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr const char* SinkName = "sondrix_test";

/// The channel order ALSA's pulse plugin gives a stream of 2, 4, 6 or 8 channels; the sink and
/// the recorder use it too, so that no channel is remapped on the way.
QString ChannelMap(int channels) {
    static const QStringList order{"front-left",   "front-right", "rear-left", "rear-right",
                                   "front-center", "lfe",         "side-left", "side-right"};
    if (channels == 1)
        return "mono";
    return order.mid(0, channels).join(',');
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

PulseNullSink::Variable::Variable(const char* name, const std::string& value)
    : Name(name) {
    const char* old = std::getenv(name);
    HadValue = old != nullptr;
    Saved = HadValue ? old : "";
    setenv(name, value.c_str(), 1);
}

PulseNullSink::Variable::~Variable() {
    if (HadValue)
        setenv(Name, Saved.c_str(), 1);
    else
        unsetenv(Name);
}

PulseNullSink::PulseNullSink(int rate, int channels)
    : Rate(rate)
    , Channels(channels)
    , Socket(Dir.File("native"))
    , Recording(Dir.File("monitor.raw")) {
    if (!HaveProgram("pulseaudio") || !HaveProgram("pactl")) {
        Why = "pulseaudio or pactl is not installed";
        return;
    }
    if (!StartDaemon())
        return;
    WriteAlsaConfiguration();
    Environment.push_back(std::make_unique<Variable>("HOME", Dir.File("home")));
    Environment.push_back(std::make_unique<Variable>("PULSE_SERVER", "unix:" + Socket));
    Environment.push_back(std::make_unique<Variable>("SONDRIX_AUDIO", "alsa:default"));
    // ALSA keeps the configuration it read first: read it again with the new .asoundrc.
    snd_config_update_free_global();
}

PulseNullSink::~PulseNullSink() {
    StopRecording();
    if (Daemon.state() != QProcess::NotRunning) {
        Daemon.terminate();
        if (!Daemon.waitForFinished(5000))
            Daemon.kill();
        Daemon.waitForFinished(5000);
    }
    Environment.clear();
    snd_config_update_free_global();
}

bool PulseNullSink::StartDaemon() {
    std::filesystem::create_directories(Dir.File("home/.config/pulse"));
    std::filesystem::create_directories(Dir.File("runtime"));
    std::filesystem::permissions(Dir.File("runtime"), std::filesystem::perms::owner_all);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", Text(Dir.File("home")));
    environment.insert("XDG_RUNTIME_DIR", Text(Dir.File("runtime")));
    environment.insert("PULSE_RUNTIME_PATH", Text(Dir.File("runtime/pulse")));
    environment.insert("PULSE_STATE_PATH", Text(Dir.File("runtime/state")));
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
    Daemon.setProcessEnvironment(environment);
    Daemon.setStandardOutputFile(Text(Dir.File("daemon.log")));
    Daemon.setStandardErrorFile(Text(Dir.File("daemon.log")), QIODevice::Append);
    const QString sink = QString("module-null-sink sink_name=%1 format=s16le rate=%2 channels=%3 "
                                 "channel_map=%4 norewinds=1")
                             .arg(SinkName)
                             .arg(Rate)
                             .arg(Channels)
                             .arg(ChannelMap(Channels));
    Daemon.start("pulseaudio",
                 {"--daemonize=no", "-n", "--exit-idle-time=-1", "--disallow-exit",
                  "--use-pid-file=no", "--system=no", "--high-priority=no", "--realtime=no",
                  "--disable-shm=yes", "--log-target=stderr", "--log-level=error", "-L",
                  Text("module-native-protocol-unix auth-anonymous=1 socket=" + Socket), "-L",
                  sink});
    if (!Daemon.waitForStarted(5000)) {
        Why = "pulseaudio does not start";
        return false;
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < giveUp) {
        if (Daemon.state() == QProcess::NotRunning)
            break;
        if (DaemonAnswers())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const std::vector<uint8_t> log = ReadWholeFile(Dir.File("daemon.log"));
    Why = "pulseaudio did not come up: " + std::string(log.begin(), log.end());
    return false;
}

bool PulseNullSink::DaemonAnswers() {
    QProcess probe;
    probe.start("pactl", {Text("--server=unix:" + Socket), "info"});
    return probe.waitForFinished(5000) && probe.exitStatus() == QProcess::NormalExit &&
           probe.exitCode() == 0;
}

void PulseNullSink::WriteAlsaConfiguration() const {
    std::ofstream asoundrc(Dir.File("home/.asoundrc"));
    asoundrc << "pcm.!default { type pulse server \"unix:" << Socket << "\" }\n"
             << "ctl.!default { type pulse server \"unix:" << Socket << "\" }\n";
}

QStringList PulseNullSink::FormatArguments() const {
    return {"--raw", "--format=s16le", QString("--rate=%1").arg(Rate),
            QString("--channels=%1").arg(Channels), "--channel-map=" + ChannelMap(Channels)};
}

bool PulseNullSink::StartRecording() {
    Recorder.setStandardOutputFile(Text(Recording));
    QStringList arguments{Text("--server=unix:" + Socket),
                          QString("--device=%1.monitor").arg(SinkName), "--latency-msec=10"};
    arguments += FormatArguments();
    Recorder.start("parec", arguments);
    if (!Recorder.waitForStarted(5000))
        return false;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (RecordedBytes() == 0 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return RecordedBytes() > 0;
}

int64_t PulseNullSink::RecordedBytes() const {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(Recording, error);
    return error ? 0 : static_cast<int64_t>(bytes);
}

std::vector<uint8_t> PulseNullSink::StopRecording() {
    if (Recorder.state() == QProcess::NotRunning)
        return {};
    Recorder.terminate();
    if (!Recorder.waitForFinished(5000))
        Recorder.kill();
    Recorder.waitForFinished(5000);
    return ReadWholeFile(Recording);
}
