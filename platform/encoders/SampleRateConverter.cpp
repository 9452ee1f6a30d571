#include "SampleRateConverter.h"

#include "Exceptions.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr size_t BlockFrames = 4096;
/// Output frames that the resampler may still hold when the input ends.
constexpr uint64_t TailFrames = 4096;

/// `sum` / `count` rounded to the nearest integer, halves away from zero.
int16_t RoundedMean(int32_t sum, int32_t count) {
    const int32_t half = count / 2;
    return int16_t(sum >= 0 ? (sum + half) / count : -((half - sum) / count));
}

/// Mixes `frames` frames of `from` channels into `to` channels: to mono by averaging, from mono
/// by repeating; otherwise output channel c averages the input channels i with i mod to = c,
/// or repeats input channel c mod from when there are more outputs.
void MixChannels(const int16_t* in, size_t frames, uint32_t from, int16_t* out, uint32_t to,
                 SampleRateConverter::Downmix mean) {
    for (size_t f = 0; f < frames; ++f) {
        const int16_t* frame = in + f * from;
        for (uint32_t c = 0; c < to; ++c) {
            if (to >= from) {
                out[f * to + c] = frame[c % from];
                continue;
            }
            int32_t sum = 0;
            int32_t count = 0;
            for (uint32_t i = c; i < from; i += to, ++count)
                sum += frame[i];
            out[f * to + c] = mean == SampleRateConverter::Downmix::Rounded
                                  ? RoundedMean(sum, count)
                                  : int16_t(sum / count);
        }
    }
}

} // namespace

SampleRateConverter::SampleRateConverter(uint32_t inRate, uint32_t outRate, uint32_t inChannels,
                                         uint32_t outChannels, Downmix downmix)
    : InRate(inRate)
    , OutRate(outRate)
    , InChannels(inChannels)
    , OutChannels(outChannels)
    , Mean(downmix) {
    if (inRate == 0 || outRate == 0 || inChannels < 1 || inChannels > 8 || outChannels < 1 ||
        outChannels > 8)
        throw Exception("Unsupported sample rate conversion");
    if (inRate == outRate)
        return;
    // Without dither, so that the same input always gives the same output.
    soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    io.flags |= SOXR_NO_DITHER;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    Resampler = soxr_create(inRate, outRate, std::min(inChannels, outChannels), &error, &io,
                            &quality, nullptr);
    if (error || !Resampler)
        throw Exception(std::string("Can not create sample rate converter: ") +
                        (error ? error : "unknown error"));
}

SampleRateConverter::~SampleRateConverter() {
    if (Resampler)
        soxr_delete(Resampler);
}

int32_t SampleRateConverter::Process(const void* input, int32_t inBytes, void* output,
                                     int32_t outCapacity) {
    const auto* bytes = static_cast<const uint8_t*>(input);
    size_t rest = inBytes > 0 ? size_t(inBytes) : 0;
    const size_t frameBytes = InFrameBytes();
    if (!PartialFrame.empty()) {
        const size_t take = std::min(rest, frameBytes - PartialFrame.size());
        PartialFrame.insert(PartialFrame.end(), bytes, bytes + take);
        bytes += take;
        rest -= take;
        if (PartialFrame.size() == frameBytes) {
            Work.resize(InChannels);
            std::memcpy(Work.data(), PartialFrame.data(), frameBytes);
            PartialFrame.clear();
            ConvertFrames(Work.data(), 1);
        }
    }
    while (rest >= frameBytes) {
        const size_t frames = std::min(rest / frameBytes, BlockFrames);
        Work.resize(frames * InChannels);
        std::memcpy(Work.data(), bytes, frames * frameBytes);
        ConvertFrames(Work.data(), frames);
        bytes += frames * frameBytes;
        rest -= frames * frameBytes;
    }
    PartialFrame.insert(PartialFrame.end(), bytes, bytes + rest);
    return HandOut(output, outCapacity);
}

int32_t SampleRateConverter::Flush(void* output, int32_t outCapacity) {
    if (!Flushed) {
        Flushed = true;
        PartialFrame.clear();
        if (Resampler) {
            const uint32_t channels = std::min(InChannels, OutChannels);
            for (;;) {
                Resampled.resize(BlockFrames * channels);
                size_t done = 0;
                soxr_process(Resampler, nullptr, 0, nullptr, Resampled.data(), BlockFrames, &done);
                if (done == 0)
                    break;
                Append(Resampled.data(), done, channels);
            }
        }
    }
    return HandOut(output, outCapacity);
}

uint64_t SampleRateConverter::MaxOutputBytes(uint64_t inBytes) const {
    const uint64_t inFrames = (PartialFrame.size() + inBytes) / InFrameBytes();
    uint64_t frames = (inFrames * OutRate + InRate - 1) / InRate;
    if (Resampler)
        frames += TailFrames + 1;
    return frames * OutFrameBytes() + (Pending.size() - PendingStart) * 2;
}

void SampleRateConverter::ConvertFrames(const int16_t* frames, size_t count) {
    if (OutChannels < InChannels) {
        Mixed.resize(count * OutChannels);
        MixChannels(frames, count, InChannels, Mixed.data(), OutChannels, Mean);
        Resample(Mixed.data(), count, OutChannels);
    } else {
        Resample(frames, count, InChannels);
    }
}

void SampleRateConverter::Resample(const int16_t* samples, size_t frames, uint32_t channels) {
    if (!Resampler) {
        Append(samples, frames, channels);
        return;
    }
    while (frames > 0) {
        const size_t room = size_t(double(frames) * OutRate / InRate) + 64;
        Resampled.resize(room * channels);
        size_t used = 0;
        size_t done = 0;
        const soxr_error_t error =
            soxr_process(Resampler, samples, frames, &used, Resampled.data(), room, &done);
        if (error)
            throw Exception(std::string("Sample rate conversion failed: ") + error);
        if (used == 0 && done == 0)
            throw Exception("Sample rate conversion made no progress");
        Append(Resampled.data(), done, channels);
        samples += used * channels;
        frames -= used;
    }
}

void SampleRateConverter::Append(const int16_t* samples, size_t frames, uint32_t channels) {
    const size_t at = Pending.size();
    if (channels == OutChannels) {
        Pending.insert(Pending.end(), samples, samples + frames * channels);
        return;
    }
    Pending.resize(at + frames * OutChannels);
    MixChannels(samples, frames, channels, Pending.data() + at, OutChannels, Mean);
}

int32_t SampleRateConverter::HandOut(void* output, int32_t outCapacity) {
    const size_t available = Pending.size() - PendingStart;
    const size_t room = outCapacity > 0 ? size_t(outCapacity) / OutFrameBytes() * OutChannels : 0;
    const size_t samples = std::min(available, room);
    if (samples > 0)
        std::memcpy(output, Pending.data() + PendingStart, samples * 2);
    PendingStart += samples;
    if (PendingStart == Pending.size()) {
        Pending.clear();
        PendingStart = 0;
    } else if (PendingStart > Pending.size() / 2) {
        Pending.erase(Pending.begin(), Pending.begin() + std::ptrdiff_t(PendingStart));
        PendingStart = 0;
    }
    return int32_t(samples * 2);
}
