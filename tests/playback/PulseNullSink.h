#pragma once

#include "TestFiles.h"

#include <QProcess>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// A clocked sound device for one test: a private PulseAudio daemon with one null sink at the
/// given rate and channel count, made ALSA's "default" device (through the pulse plugin and an
/// .asoundrc in a private HOME), and a recorder of the sink's monitor.
///
/// While the object lives, HOME, PULSE_SERVER and SONDRIX_AUDIO (set to "alsa:default") point
/// the players made in the test at the sink; the destructor stops the programs and restores the
/// environment. The daemon talks only over a socket in a private folder and needs neither a
/// session bus nor a sound card, so it runs in CI as root.
class PulseNullSink {
public:
    PulseNullSink(int rate, int channels);
    ~PulseNullSink();
    PulseNullSink(const PulseNullSink&) = delete;
    PulseNullSink& operator=(const PulseNullSink&) = delete;

    /// Empty when the daemon runs; otherwise why it could not start.
    const std::string& Failure() const { return Why; }

    /// Starts recording the sink's monitor (16-bit, the sink's format) and returns once the
    /// first bytes have arrived; false when the recorder does not start.
    bool StartRecording();
    /// Bytes recorded so far.
    int64_t RecordedBytes() const;
    /// Stops the recorder and returns everything it recorded.
    std::vector<uint8_t> StopRecording();

private:
    /// An environment variable set for the object's lifetime.
    class Variable {
    public:
        Variable(const char* name, const std::string& value);
        ~Variable();

    private:
        const char* Name;
        bool HadValue;
        std::string Saved;
    };

    bool StartDaemon();
    bool DaemonAnswers();
    void WriteAlsaConfiguration() const;
    QStringList FormatArguments() const;

    const int Rate;
    const int Channels;
    TempDir Dir;
    const std::string Socket;
    const std::string Recording;
    std::string Why;
    QProcess Daemon;
    QProcess Recorder;
    std::vector<std::unique_ptr<Variable>> Environment;
};
