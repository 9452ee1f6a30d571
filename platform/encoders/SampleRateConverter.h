#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct soxr;

/// Converts interleaved signed 16-bit samples from one sample rate and channel count to
/// another: channels first (fewer channels are averaged, a mono source is repeated into every
/// channel), then the rate through libsoxr at high quality. Equal rates are not resampled.
///
/// Counts are in bytes. Input need not end on a frame: a partial frame is kept for the next
/// call. Output is handed out in whole frames up to the caller's capacity; what does not fit is
/// kept and handed out by the next call. After the last input, call Flush until it returns 0
/// (and Process no more).
/// One object converts one stream and is used by one thread at a time.
///
///     SampleRateConverter converter(44100, 48000, 1, 2);
///     for (each block of input)
///         write(output, converter.Process(input, inputBytes, output, outputCapacity));
///     while (int32_t n = converter.Flush(output, outputCapacity))
///         write(output, n);
class SampleRateConverter {
public:
    /// How channels that are mixed down are averaged.
    enum class Downmix {
        Truncated, ///< the mean rounded towards zero
        Rounded,   ///< the mean rounded to the nearest, halves away from zero
    };

    /// Rates in Hz, channels 1 to 8. Raises Exception when the converter cannot be made.
    SampleRateConverter(uint32_t inRate, uint32_t outRate, uint32_t inChannels,
                        uint32_t outChannels, Downmix downmix = Downmix::Truncated);
    ~SampleRateConverter();
    SampleRateConverter(const SampleRateConverter&) = delete;
    SampleRateConverter& operator=(const SampleRateConverter&) = delete;

    /// Takes `inBytes` bytes of input and writes at most `outCapacity` bytes of converted
    /// frames to `output`; returns the bytes written.
    int32_t Process(const void* input, int32_t inBytes, void* output, int32_t outCapacity);
    /// Ends the input (a partial input frame is dropped) and writes at most `outCapacity` bytes
    /// of what is still held; returns the bytes written, 0 once nothing is left.
    int32_t Flush(void* output, int32_t outCapacity);

    /// Bytes of output that `inBytes` more bytes of input can bring at most, the tail of the
    /// flush included.
    uint64_t MaxOutputBytes(uint64_t inBytes) const;

    uint32_t InFrameBytes() const { return 2 * InChannels; }
    uint32_t OutFrameBytes() const { return 2 * OutChannels; }

private:
    void ConvertFrames(const int16_t* frames, size_t count);
    void Resample(const int16_t* samples, size_t frames, uint32_t channels);
    void Append(const int16_t* samples, size_t frames, uint32_t channels);
    int32_t HandOut(void* output, int32_t outCapacity);

    uint32_t InRate, OutRate, InChannels, OutChannels;
    Downmix Mean;
    soxr* Resampler = nullptr;
    bool Flushed = false;
    /// Bytes of an input frame that the last call left incomplete.
    std::vector<uint8_t> PartialFrame;
    /// Converted samples not yet handed out, from PendingStart on.
    std::vector<int16_t> Pending;
    size_t PendingStart = 0;
    std::vector<int16_t> Work, Mixed, Resampled;
};
