// Piece tables and mapped files checked against sox's own reading of the same audio.
#include "Exceptions.h"
#include "Settings.h"
#include "TLargeFile.h"
#include "TMappedFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string MakeTone(const TempDir& dir, int channels, double seconds) {
    const std::string path = dir.File("tone.wav");
    RunProgram({"sox", "-n", "-r", "44100", "-c", std::to_string(channels), "-b", "16", path,
                "synth", std::to_string(seconds), "sine", "440", "sine", "660", "gain", "-1"});
    return path;
}

} // namespace

TEST(SoxOracle, TableOverDecodedFileReadsWhatSoxReads) {
    if (!HaveProgram("sox"))
        GTEST_SKIP() << "sox missing";
    TempDir dir;
    for (int channels : {1, 2}) {
        const std::string wav = MakeTone(dir, channels, 1.7);
        const std::string soxRaw = RunProgram({"sox", wav, "-t", "raw", "-"});
        const auto raw = ToSamples(std::vector<uint8_t>(soxRaw.begin(), soxRaw.end()));
        const auto size = int64_t(std::filesystem::file_size(wav)) - 44;
        auto table =
            TLargeFile::CreateWithFile("tone", TDataFile::Open(wav), size, channels, 44100);
        ASSERT_EQ(table->TotalSize, int64_t(raw.size() * 2));
        for (size_t i = 0; i < raw.size(); ++i)
            ASSERT_EQ(table->ReadAt(int64_t(i * 2)), raw[i]) << i;
    }
}

TEST(SoxOracle, MappedFileWrittenBackwardsEqualsSoxReverse) {
    if (!HaveProgram("sox"))
        GTEST_SKIP() << "sox missing";
    TempDir dir;
    Settings.tempfolder = dir.Path();
    const int channels = 2;
    const std::string wav = MakeTone(dir, channels, 3.3);
    const int64_t size = int64_t(std::filesystem::file_size(wav)) - 44;
    auto table = TLargeFile::CreateWithFile("tone", TDataFile::Open(wav), size, channels, 44100);

    const std::string out = dir.File("reversed.tmp");
    TMappedFile mapped(out, uint32_t(44 + size));
    EXPECT_EQ(mapped.Granularity % 65536, 0u);
    const int64_t frames = table->Frames();
    std::vector<uint32_t> viewStarts;
    for (int64_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) {
            const uint32_t p = uint32_t(44 + ((frames - 1 - f) * channels + c) * 2);
            mapped.MapAt(p);
            if (viewStarts.empty() || viewStarts.back() != mapped.ViewStart)
                viewStarts.push_back(mapped.ViewStart);
            const int16_t s = table->ReadAt((f * channels + c) * 2);
            std::memcpy(mapped.View + (p - mapped.ViewStart), &s, 2);
            ASSERT_LE(mapped.ViewSize, TMappedFile::MaxViewSize);
        }
    mapped.Close();
    for (uint32_t start : viewStarts)
        EXPECT_EQ(start % mapped.Granularity, 0u);
    EXPECT_GT(viewStarts.size(), 1u);

    const auto bytes = ReadWholeFile(out);
    ASSERT_EQ(int64_t(bytes.size()), 44 + size);
    for (int i = 0; i < 44; ++i)
        ASSERT_EQ(bytes[size_t(i)], 0) << i;
    const std::string soxReversed = RunProgram({"sox", wav, "-t", "raw", "-", "reverse"});
    ASSERT_EQ(soxReversed.size(), size_t(size));
    EXPECT_EQ(0, std::memcmp(bytes.data() + 44, soxReversed.data(), size_t(size)));
}

TEST(TMappedFile, MissingFolderRaisesAndEmptyFileHasNoView) {
    TempDir dir;
    Settings.tempfolder = dir.Path();
    EXPECT_THROW(TMappedFile(dir.File("no/such/folder/file"), 100), Exception);
    TMappedFile empty(dir.File("empty"), 0);
    EXPECT_EQ(empty.View, nullptr);
    EXPECT_THROW(empty.MapAt(0), Exception);
    empty.Close();
}
