#pragma once

#include "ISoundOutput.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

/// A sound output on an ALSA playback device, opened non-blocking with about 100 ms of latency.
///
/// Frames heard are the frames written minus ALSA's delay, held monotonic (the delay jitters
/// under PulseAudio and PipeWire); while the device cannot report a delay (the call fails, as
/// PulseAudio's plugin may before its stream runs) the last count stands. Underruns are recovered
/// and counted. A blocked write waits on the device's descriptors and on a wake-up descriptor of
/// its own, so `Interrupt` ends it at once. Drain waits, interruptibly, until the delay says all
/// has been played, and then lets the device itself drain what its own latency still holds. Writes
/// never run ahead of the steady clock by more than the
/// device's buffer, so a device without a clock (ALSA's "null" PCM) is paced instead of spun on.
class AlsaSoundOutput : public ISoundOutput {
public:
    /// Opens `device`; returns 0, DSERR_NODRIVER or DSERR_BADFORMAT. On failure `reason`, when
    /// given, receives the device's name and ALSA's words for what went wrong.
    static int32_t Open(const std::string& device, const WAVEFORMATEX& format,
                        std::unique_ptr<ISoundOutput>& output, std::string* reason = nullptr);
    ~AlsaSoundOutput() override;

    uint32_t PeriodFrames() const override { return Period; }
    int32_t Write(const uint8_t* data, uint32_t frames) override;
    uint64_t FramesHeard() override;
    void Drain() override;
    void Interrupt() override;
    uint32_t Underruns() const override { return Xruns; }

    /// The frames ALSA buffers and the frames of one of its periods.
    uint32_t BufferFrames() const { return Buffer; }

private:
    AlsaSoundOutput(snd_pcm_t* pcm, int wakeFd, const WAVEFORMATEX& format, uint32_t buffer,
                    uint32_t period);
    bool Recover(int error);
    void WaitWritable();
    bool PauseFor(std::chrono::steady_clock::time_point until);
    void Pace();
    uint64_t FramesWritten();

    snd_pcm_t* const Pcm;
    const int WakeFd;
    const uint32_t Rate;
    const uint32_t BlockAlign;
    const uint32_t Buffer;
    const uint32_t Period;
    const std::chrono::steady_clock::time_point Started;
    /// Serialises the calls on the PCM handle (the owner asks for the frames heard while the
    /// render thread writes) and guards the counts.
    std::mutex PcmLock;
    uint64_t Written = 0;
    uint64_t Heard = 0;
    std::atomic<uint32_t> Xruns{0};
    std::atomic<bool> Interrupted{false};
    std::mutex WaitLock;
    std::condition_variable Woken;
};
