#include "AlsaSoundOutput.h"

#include "DirectSoundTypes.h"

#include <algorithm>
#include <cerrno>

namespace {

constexpr unsigned LatencyMicroseconds = 100000;
constexpr int WaitMilliseconds = 20;

} // namespace

int32_t AlsaSoundOutput::Open(const std::string& device, const WAVEFORMATEX& format,
                              std::unique_ptr<SoundOutput>& output) {
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return DSERR_NODRIVER;
    const snd_pcm_format_t sampleFormat =
        format.wBitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    snd_pcm_uframes_t buffer = 0;
    snd_pcm_uframes_t period = 0;
    if (snd_pcm_set_params(pcm, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.nChannels,
                           format.nSamplesPerSec, 1, LatencyMicroseconds) < 0 ||
        snd_pcm_get_params(pcm, &buffer, &period) < 0 || period == 0) {
        snd_pcm_close(pcm);
        return DSERR_BADFORMAT;
    }
    output.reset(new AlsaSoundOutput(pcm, format, static_cast<uint32_t>(buffer),
                                     static_cast<uint32_t>(period)));
    return DS_OK;
}

AlsaSoundOutput::AlsaSoundOutput(snd_pcm_t* pcm, const WAVEFORMATEX& format, uint32_t buffer,
                                 uint32_t period)
    : Pcm(pcm)
    , Rate(format.nSamplesPerSec)
    , BlockAlign(format.nBlockAlign)
    , Buffer(buffer)
    , Period(period)
    , Started(std::chrono::steady_clock::now()) {}

AlsaSoundOutput::~AlsaSoundOutput() {
    snd_pcm_drop(Pcm);
    snd_pcm_close(Pcm);
}

bool AlsaSoundOutput::Recover(int error) {
    if (error == -EPIPE || error == -ESTRPIPE)
        ++Xruns;
    return snd_pcm_recover(Pcm, error, 1) >= 0;
}

bool AlsaSoundOutput::PauseFor(std::chrono::steady_clock::time_point until) {
    std::unique_lock guard(WaitLock);
    return !Woken.wait_until(guard, until, [this] { return Interrupted.load(); });
}

void AlsaSoundOutput::Pace() {
    // A device without a clock takes every write at once; hold the writes to real time.
    if (Written <= Buffer)
        return;
    const auto due = Started + std::chrono::nanoseconds((Written - Buffer) * 1000000000ULL / Rate);
    if (due > std::chrono::steady_clock::now())
        PauseFor(due);
}

int32_t AlsaSoundOutput::Write(const uint8_t* data, uint32_t frames) {
    while (frames > 0 && !Interrupted) {
        const snd_pcm_sframes_t done = snd_pcm_writei(Pcm, data, frames);
        if (done == -EAGAIN) {
            snd_pcm_wait(Pcm, WaitMilliseconds);
            continue;
        }
        if (done < 0) {
            // Everything written before an underrun has been played out.
            Heard = Written;
            if (!Recover(static_cast<int>(done)))
                return DSERR_BUFFERLOST;
            continue;
        }
        data += static_cast<size_t>(done) * BlockAlign;
        frames -= static_cast<uint32_t>(done);
        Written += static_cast<uint64_t>(done);
    }
    Pace();
    return DS_OK;
}

uint64_t AlsaSoundOutput::FramesHeard() {
    snd_pcm_sframes_t delay = 0;
    if (snd_pcm_delay(Pcm, &delay) < 0)
        delay = 0;
    const uint64_t queued = std::clamp<uint64_t>(delay < 0 ? 0 : delay, 0, Written);
    Heard = std::max(Heard, Written - queued);
    return Heard;
}

void AlsaSoundOutput::Drain() {
    while (!Interrupted && FramesHeard() < Written)
        PauseFor(std::chrono::steady_clock::now() + std::chrono::milliseconds(5));
}

void AlsaSoundOutput::Interrupt() {
    {
        std::lock_guard guard(WaitLock);
        Interrupted = true;
    }
    Woken.notify_all();
}
