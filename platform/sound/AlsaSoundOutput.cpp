#include "AlsaSoundOutput.h"

#include "DirectSoundTypes.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr unsigned LatencyMicroseconds = 100000;
// A guard only: the device's descriptors or the wake-up descriptor end every wait before it.
constexpr int WaitMilliseconds = 200;
constexpr auto DrainStep = std::chrono::milliseconds(2);
constexpr auto DrainGrace = std::chrono::milliseconds(250);

} // namespace

int32_t AlsaSoundOutput::Open(const std::string& device, const WAVEFORMATEX& format,
                              std::unique_ptr<ISoundOutput>& output, std::string* reason) {
    snd_pcm_t* pcm = nullptr;
    if (const int error =
            snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
        error < 0) {
        if (reason)
            *reason = "No sound output: ALSA could not open device \"" + device + "\" (" +
                      snd_strerror(error) + ")";
        return DSERR_NODRIVER;
    }
    const snd_pcm_format_t sampleFormat =
        format.wBitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    snd_pcm_uframes_t buffer = 0;
    snd_pcm_uframes_t period = 0;
    int error = snd_pcm_set_params(pcm, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED,
                                   format.nChannels, format.nSamplesPerSec, 1, LatencyMicroseconds);
    if (error >= 0)
        error = snd_pcm_get_params(pcm, &buffer, &period);
    if (error < 0 || period == 0) {
        snd_pcm_close(pcm);
        if (reason)
            *reason = "No sound output: ALSA device \"" + device + "\" cannot play " +
                      std::to_string(format.nSamplesPerSec) + " Hz, " +
                      std::to_string(format.nChannels) + " channels, " +
                      std::to_string(format.wBitsPerSample) + "-bit (" +
                      (error < 0 ? snd_strerror(error) : "no period size") + ")";
        return DSERR_BADFORMAT;
    }
    const int wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) {
        snd_pcm_close(pcm);
        return DSERR_OUTOFMEMORY;
    }
    output.reset(new AlsaSoundOutput(pcm, wakeFd, format, static_cast<uint32_t>(buffer),
                                     static_cast<uint32_t>(period)));
    return DS_OK;
}

AlsaSoundOutput::AlsaSoundOutput(snd_pcm_t* pcm, int wakeFd, const WAVEFORMATEX& format,
                                 uint32_t buffer, uint32_t period)
    : Pcm(pcm)
    , WakeFd(wakeFd)
    , Rate(format.nSamplesPerSec)
    , BlockAlign(format.nBlockAlign)
    , Buffer(buffer)
    , Period(period)
    , Started(std::chrono::steady_clock::now()) {}

AlsaSoundOutput::~AlsaSoundOutput() {
    snd_pcm_drop(Pcm);
    snd_pcm_close(Pcm);
    close(WakeFd);
}

bool AlsaSoundOutput::Recover(int error) {
    if (error == -EPIPE || error == -ESTRPIPE)
        ++Xruns;
    return snd_pcm_recover(Pcm, error, 1) >= 0;
}

void AlsaSoundOutput::WaitWritable() {
    std::vector<pollfd> descriptors;
    {
        std::lock_guard guard(PcmLock);
        const int count = snd_pcm_poll_descriptors_count(Pcm);
        descriptors.resize(static_cast<size_t>(std::max(count, 0)));
        snd_pcm_poll_descriptors(Pcm, descriptors.data(), static_cast<unsigned>(count));
    }
    if (descriptors.empty()) {
        PauseFor(std::chrono::steady_clock::now() + std::chrono::milliseconds(5));
        return;
    }
    descriptors.push_back(pollfd{WakeFd, POLLIN, 0});
    if (poll(descriptors.data(), descriptors.size(), WaitMilliseconds) <= 0)
        return;
    std::lock_guard guard(PcmLock);
    unsigned short events = 0;
    snd_pcm_poll_descriptors_revents(Pcm, descriptors.data(),
                                     static_cast<unsigned>(descriptors.size() - 1), &events);
}

bool AlsaSoundOutput::PauseFor(std::chrono::steady_clock::time_point until) {
    std::unique_lock guard(WaitLock);
    return !Woken.wait_until(guard, until, [this] { return Interrupted.load(); });
}

uint64_t AlsaSoundOutput::FramesWritten() {
    std::lock_guard guard(PcmLock);
    return Written;
}

void AlsaSoundOutput::Pace() {
    // A device without a clock takes every write at once; hold the writes to real time.
    const uint64_t written = FramesWritten();
    if (written <= Buffer)
        return;
    const auto due = Started + std::chrono::nanoseconds((written - Buffer) * 1000000000ULL / Rate);
    if (due > std::chrono::steady_clock::now())
        PauseFor(due);
}

int32_t AlsaSoundOutput::Write(const uint8_t* data, uint32_t frames) {
    while (frames > 0 && !Interrupted) {
        std::unique_lock guard(PcmLock);
        const snd_pcm_sframes_t done = snd_pcm_writei(Pcm, data, frames);
        if (done == -EAGAIN) {
            guard.unlock();
            WaitWritable();
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
    std::lock_guard guard(PcmLock);
    // After an underrun everything written has been played out, whatever delay is reported.
    if (snd_pcm_state(Pcm) == SND_PCM_STATE_XRUN) {
        Heard = Written;
        return Heard;
    }
    snd_pcm_sframes_t delay = 0;
    if (snd_pcm_delay(Pcm, &delay) < 0)
        return Heard;
    const uint64_t queued = std::clamp<uint64_t>(delay < 0 ? 0 : delay, 0, Written);
    Heard = std::max(Heard, Written - queued);
    return Heard;
}

void AlsaSoundOutput::Drain() {
    {
        // A play shorter than the device's start threshold has not started yet.
        std::lock_guard guard(PcmLock);
        if (snd_pcm_state(Pcm) == SND_PCM_STATE_PREPARED)
            snd_pcm_start(Pcm);
    }
    const uint64_t written = FramesWritten();
    const uint64_t queued = written - std::min(written, FramesHeard());
    const auto giveUp = std::chrono::steady_clock::now() +
                        std::chrono::microseconds(queued * 1000000 / Rate) + DrainGrace;
    while (!Interrupted && FramesHeard() < written && std::chrono::steady_clock::now() < giveUp)
        PauseFor(std::chrono::steady_clock::now() + DrainStep);
    if (Interrupted || FramesHeard() < written)
        return;
    // Counted as heard, the last frames may still sit in the device's own latency (a sound
    // server's sink): let the device itself drain them, which takes a few milliseconds now.
    std::lock_guard guard(PcmLock);
    if (snd_pcm_nonblock(Pcm, 0) == 0)
        snd_pcm_drain(Pcm);
}

void AlsaSoundOutput::Interrupt() {
    {
        std::lock_guard guard(WaitLock);
        Interrupted = true;
    }
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(WakeFd, &one, sizeof one);
    Woken.notify_all();
}
