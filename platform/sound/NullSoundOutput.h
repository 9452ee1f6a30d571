#pragma once

#include "ISoundOutput.h"
#include "SoundClock.h"

#include <atomic>
#include <cstdint>
#include <vector>

/// The null sound device: consumes bytes in real time on `Clock()` and hears nothing.
///
/// Chosen only on request (SONDRIX_AUDIO=null). For tests the clock can be made manual, and
/// every byte heard by any null output can be captured in order (`BeginCapture`, `Captured`).
/// A write returns once its frames have been heard, so the frames heard always equal the frames
/// written after a write. The static members are thread-safe.
class NullSoundOutput : public ISoundOutput {
public:
    explicit NullSoundOutput(const WAVEFORMATEX& format);
    ~NullSoundOutput() override;

    /// The clock all null outputs run on.
    static SoundClock& Clock();

    /// Starts capturing heard bytes (dropping any earlier capture); EndCapture stops it.
    static void BeginCapture();
    static void EndCapture();
    /// The bytes heard since BeginCapture.
    static std::vector<uint8_t> Captured();

    uint32_t PeriodFrames() const override;
    int32_t Write(const uint8_t* data, uint32_t frames) override;
    uint64_t FramesHeard() override;
    void Drain() override;
    void Interrupt() override;
    /// Stops holding back a manual clock.
    void Done() override;
    uint32_t Underruns() const override { return 0; }

private:
    int64_t TimeOfFrame(uint64_t frame) const;

    const uint32_t Rate;
    const uint32_t BlockAlign;
    const int64_t Start;
    std::atomic<uint64_t> Heard{0};
    std::atomic<bool> Interrupted{false};
    std::atomic<bool> Attached{true};
};
