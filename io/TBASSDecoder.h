#pragma once

#include "Bass.h"
#include "TFilter.h"

class TBlockHandOff;

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// Decodes one source file of any imported format into a temporary sample file: a canonical
/// 44-byte WAV header for 16-bit PCM, then the samples as interleaved signed 16-bit, while it
/// builds the peak index and reads the source's six text tags. Full blocks of samples are
/// written and fed to the peak builder on the thread pool while the next block decodes.
///
/// One object per load, used by one thread: construct (never throws for a bad source; `Usable`
/// tells), `DecodeToFile` when usable, read the results, destroy. The temporary file stays on disk.
class TBASSDecoder {
public:
    /// Receives the load's progress in percent, 1 … 100, strictly increasing.
    using ProgressSink = std::function<void(int32_t percent)>;

    /// Temporary sample files stay below 2 GiB.
    static constexpr int64_t MaxFileSize = 2147483647;

    /// Opens `fileName` and reads its format and tags. `maxFileSize` lowers the size limit of the
    /// temporary file (for tests).
    TBASSDecoder(std::string fileName, std::string tempName, ProgressSink progress = {},
                 int64_t maxFileSize = MaxFileSize);
    ~TBASSDecoder();
    TBASSDecoder(const TBASSDecoder&) = delete;
    TBASSDecoder& operator=(const TBASSDecoder&) = delete;

    /// The source opened and has one or two channels at a sample rate of
    /// MinSampleRate … MaxSampleRate (SampleRateRange.h).
    bool Usable() const { return IsUsable; }

    /// Writes the temporary file (replacing its content). False when the source did not open,
    /// when its decoding failed part way, or when the audio would pass the size limit: a stated
    /// length past it is refused before anything is decoded or written, otherwise decoding stops
    /// at the limit (the file is then left incomplete). Raises EFOpenError or EWriteError when the
    /// temporary file cannot be created or written, Exception with
    /// TSampleFileStream::NoSpaceText when its volume lacks room for the stated length.
    bool DecodeToFile();

    /// True after `DecodeToFile` has failed for the size limit.
    bool TooLong() const { return LimitReached; }
    /// The most frames of the source's channel count that fit within the size limit.
    int64_t LongestFrames() const;

    uint16_t Channels() const { return ChannelCount; }
    uint32_t SampleRate() const { return Rate; }
    /// Bytes of samples in the temporary file after a successful decode.
    int64_t DataSize() const { return Size; }
    /// Track, Title, Artist, Album, Genre, Year; "" for a missing tag.
    const std::vector<std::string>& Tags() const { return TagTexts; }
    /// The peak builder fed with every sample written; only when `Usable`.
    TFilter& PeakBuilder() { return *Peaks; }

private:
    void ReadTags();
    bool DecodeBlocks(TBlockHandOff& output, QWORD length);
    void Convert(TBlockHandOff& output, int64_t samples);
    void PatchHeader() const;
    int32_t Percent(int64_t total, QWORD length) const;

    HSTREAM Stream = 0;
    HPLUGIN Plugin = 0;
    float Frequency = 0.0f;
    std::string FileName;
    std::string TempName;
    ProgressSink Progress;
    int64_t SizeLimit;
    std::vector<float> FloatBuffer;
    BASS_CHANNELINFO Info{};
    uint16_t ChannelCount = 0;
    uint32_t Rate = 0;
    int64_t Size = 0;
    std::vector<std::string> TagTexts;
    std::unique_ptr<TFilter> Peaks;
    bool IsUsable = false;
    bool LimitReached = false;
};
