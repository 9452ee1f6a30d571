// The RIFF writer: chunk sizes patched on ascend, the pad byte after odd data, seeking back, and
// the 4 GiB limit that keeps sizes from wrapping.
#include "RiffFile.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

namespace {

constexpr uint32_t Id(const char* text) {
    return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 |
           uint32_t(uint8_t(text[2])) << 16 | uint32_t(uint8_t(text[3])) << 24;
}

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

constexpr uint32_t Flags = MMIO_CREATE | MMIO_READWRITE | MMIO_DENYWRITE | MMIO_ALLOCBUF;

TEST(RiffFile, AscendPatchesSizesAndPadsOddChunks) {
    TempDir dir;
    auto file = RiffFile::Open(dir.File("a.riff"), Flags);
    ASSERT_TRUE(file);
    MMCKINFO riff{}, odd{}, even{};
    riff.fccType = Id("TEST");
    ASSERT_EQ(file->CreateChunk(riff, MMIO_CREATERIFF), 0u);
    EXPECT_EQ(riff.dwDataOffset, 8u);
    odd.ckid = Id("odd ");
    ASSERT_EQ(file->CreateChunk(odd, 0), 0u);
    EXPECT_EQ(odd.dwDataOffset, 20u);
    EXPECT_EQ(file->Write("abc", 3), 3);
    ASSERT_EQ(file->Ascend(odd, 0), 0u);
    even.ckid = Id("even");
    even.cksize = 2; // already right: nothing to patch
    ASSERT_EQ(file->CreateChunk(even, 0), 0u);
    EXPECT_EQ(file->Write("xy", 2), 2);
    ASSERT_EQ(file->Ascend(even, 0), 0u);
    ASSERT_EQ(file->Ascend(riff, 0), 0u);
    ASSERT_EQ(file->Close(), 0u);

    const auto bytes = ReadWholeFile(dir.File("a.riff"));
    ASSERT_EQ(bytes.size(), 12u + 8 + 3 + 1 + 8 + 2);
    EXPECT_EQ(Le32(bytes, 0), Id("RIFF"));
    EXPECT_EQ(Le32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(Le32(bytes, 8), Id("TEST"));
    EXPECT_EQ(Le32(bytes, 12), Id("odd "));
    EXPECT_EQ(Le32(bytes, 16), 3u);
    EXPECT_EQ(std::string(bytes.begin() + 20, bytes.begin() + 23), "abc");
    EXPECT_EQ(bytes[23], 0);
    EXPECT_EQ(Le32(bytes, 24), Id("even"));
    EXPECT_EQ(Le32(bytes, 28), 2u);
}

TEST(RiffFile, SeekBackRewritesInPlace) {
    TempDir dir;
    auto file = RiffFile::Open(dir.File("s.riff"), Flags);
    std::vector<uint8_t> big(600000, 7);
    EXPECT_EQ(file->Write(big.data(), int32_t(big.size())), int32_t(big.size()));
    EXPECT_EQ(file->Seek(4, 0), 4);
    EXPECT_EQ(file->Write("ZZ", 2), 2);
    EXPECT_EQ(file->Seek(0, 2), 600000);
    EXPECT_EQ(file->Seek(-10, 1), 599990);
    EXPECT_EQ(file->Seek(-1, 0), -1);
    EXPECT_EQ(file->Close(), 0u);
    const auto bytes = ReadWholeFile(dir.File("s.riff"));
    ASSERT_EQ(bytes.size(), 600000u);
    EXPECT_EQ(bytes[3], 7);
    EXPECT_EQ(bytes[4], 'Z');
    EXPECT_EQ(bytes[5], 'Z');
    EXPECT_EQ(bytes[6], 7);
}

TEST(RiffFile, RefusesToGrowPastFourGibibytes) {
    TempDir dir;
    auto file = RiffFile::Open(dir.File("big.riff"), Flags);
    MMCKINFO riff{}, data{};
    ASSERT_EQ(file->CreateChunk(riff, MMIO_CREATERIFF), 0u);
    data.ckid = Id("data");
    ASSERT_EQ(file->CreateChunk(data, 0), 0u);
    // A sparse jump to just below the limit.
    ASSERT_EQ(file->Seek(0xFFFFFFF0ll, 0), 0xFFFFFFF0ll);
    EXPECT_EQ(file->Write("0123456789abcdefXYZ", 17), -1);
    EXPECT_EQ(file->Write("0123456789abcde", 15), 15);
    EXPECT_EQ(file->Seek(1, 1), -1);
    // The data size is odd and its pad byte would pass the limit.
    EXPECT_NE(file->Ascend(data, 0), 0u);
    EXPECT_EQ(file->Close(), 0u);
    struct stat status {};
    ASSERT_EQ(stat(dir.File("big.riff").c_str(), &status), 0);
    EXPECT_EQ(uint64_t(status.st_size), 0xFFFFFFFFull);
}

TEST(RiffFile, OpenFailsForAMissingFolder) {
    TempDir dir;
    EXPECT_EQ(RiffFile::Open(dir.File("missing/x.wav"), Flags), nullptr);
}

} // namespace
