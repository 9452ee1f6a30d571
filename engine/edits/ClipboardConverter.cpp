#include "ClipboardConverter.h"

#include "SampleRateConverter.h"
#include "TDataFile.h"
#include "TFilter.h"
#include "TLargeFile.h"
#include "TSampleFileStream.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

/// Takes everything the converter has ready, `step` being either another input block or the
/// flush, and passes it on until the converter holds nothing more for now.
template <typename Step>
void Drain(Step step, std::vector<int16_t>& output, TFilter& builder, TSampleFileStream& file) {
    for (int32_t bytes = step(); bytes > 0; bytes = step()) {
        builder.Feed(output.data(), bytes / 2);
        file.Write(output.data(), bytes);
    }
}

} // namespace

ClipboardConverter::Result ClipboardConverter::Convert(const TLargeFile& source, int32_t sampleRate,
                                                       int32_t channels, const Progress& progress) {
    // A private copy of the records, so that reading does not touch the source's window.
    TLargeFile reader(source.FileName, source.Channels, source.SampleRate);
    reader.CopyFrom(source, 0);
    reader.UpdateSize();

    SampleRateConverter converter(uint32_t(source.SampleRate), uint32_t(sampleRate),
                                  uint32_t(source.Channels), uint32_t(channels),
                                  SampleRateConverter::Downmix::Rounded);
    Result converted;
    converted.DataFile = TDataFile::CreateTemporary();
    TSampleFileStream file(converted.DataFile->Path(),
                           MaxResultBytes(source, sampleRate, channels));
    TFilter builder(channels);
    std::vector<int16_t> input(BlockSamples);
    std::vector<int16_t> output(OutputCapacity / 2);

    const int64_t samples = reader.TotalSize / (2 * source.Channels) * source.Channels;
    const int64_t blocks = samples / BlockSamples;
    const int64_t rest = samples % BlockSamples;
    auto convertBlock = [&](int64_t first, int64_t count) {
        reader.Read(2 * first, input.data(), 2 * count);
        const void* data = input.data();
        int32_t bytes = int32_t(2 * count);
        Drain(
            [&] {
                const int32_t got = converter.Process(data, bytes, output.data(), OutputCapacity);
                bytes = 0; // later rounds only take what the converter still holds
                return got;
            },
            output, builder, file);
    };
    for (int64_t b = 0; b < blocks; ++b) {
        if (progress)
            progress(int32_t(b * 100 / blocks));
        convertBlock(b * BlockSamples, BlockSamples);
    }
    convertBlock(blocks * BlockSamples, rest);
    Drain([&] { return converter.Flush(output.data(), OutputCapacity); }, output, builder, file);

    file.Close();

    converted.Length = file.Written();
    if (converted.Length > 0)
        builder.GetIndexData(converted.Index);
    return converted;
}

int64_t ClipboardConverter::MaxResultBytes(const TLargeFile& source, int32_t sampleRate,
                                           int32_t channels) {
    const int64_t frames = source.TotalSize / (2 * source.Channels);
    const int64_t converted = (frames * sampleRate + source.SampleRate - 1) / source.SampleRate;
    return converted * 2 * channels;
}
