#include "NullSoundOutput.h"

#include <mutex>

namespace {

struct CaptureState {
    std::mutex lock;
    bool on = false;
    std::vector<uint8_t> bytes;
};

CaptureState& Capture() {
    static CaptureState state;
    return state;
}

void Record(const uint8_t* data, size_t bytes) {
    CaptureState& capture = Capture();
    std::lock_guard guard(capture.lock);
    if (capture.on)
        capture.bytes.insert(capture.bytes.end(), data, data + bytes);
}

} // namespace

NullSoundOutput::NullSoundOutput(const WAVEFORMATEX& format)
    : Rate(format.nSamplesPerSec)
    , BlockAlign(format.nBlockAlign)
    , Start(Clock().Now()) {
    Clock().Attach();
}

NullSoundOutput::~NullSoundOutput() {
    Done();
}

void NullSoundOutput::Done() {
    if (Attached.exchange(false))
        Clock().Detach();
}

SoundClock& NullSoundOutput::Clock() {
    static SoundClock clock;
    return clock;
}

void NullSoundOutput::BeginCapture() {
    CaptureState& capture = Capture();
    std::lock_guard guard(capture.lock);
    capture.on = true;
    capture.bytes.clear();
}

void NullSoundOutput::EndCapture() {
    CaptureState& capture = Capture();
    std::lock_guard guard(capture.lock);
    capture.on = false;
}

std::vector<uint8_t> NullSoundOutput::Captured() {
    CaptureState& capture = Capture();
    std::lock_guard guard(capture.lock);
    return capture.bytes;
}

uint32_t NullSoundOutput::PeriodFrames() const {
    // 10 ms, so that a manual clock stepped in 10 ms hears whole writes.
    return Rate >= 100 ? Rate / 100 : 1;
}

int64_t NullSoundOutput::TimeOfFrame(uint64_t frame) const {
    const uint64_t whole = frame / Rate;
    const uint64_t rest = frame % Rate;
    return Start +
           static_cast<int64_t>(whole * 1000000000ULL + (rest * 1000000000ULL + Rate - 1) / Rate);
}

int32_t NullSoundOutput::Write(const uint8_t* data, uint32_t frames) {
    const uint64_t end = Heard + frames;
    if (!Clock().SleepUntil(TimeOfFrame(end), Interrupted))
        return 0;
    Record(data, static_cast<size_t>(frames) * BlockAlign);
    Heard = end;
    return 0;
}

uint64_t NullSoundOutput::FramesHeard() {
    return Heard;
}

void NullSoundOutput::Drain() {}

void NullSoundOutput::Interrupt() {
    Interrupted = true;
    Clock().WakeAll();
}
