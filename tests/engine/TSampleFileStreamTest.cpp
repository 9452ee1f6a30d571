#include "TSampleFileStream.h"

#include "Exceptions.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

TEST(TSampleFileStream, WritesTheBytesFromTheStart) {
    TempDir dir;
    const std::string path = dir.File("out.raw");
    std::ofstream(path) << "old content that must go";
    TSampleFileStream stream(path, 6);
    const int16_t samples[] = {1, -2, 32767};
    stream.Write(samples, 6);
    stream.Write(samples, 0);
    stream.Close();
    EXPECT_EQ(stream.Written(), 6);
    EXPECT_EQ(ToSamples(ReadWholeFile(path)), (std::vector<int16_t>{1, -2, 32767}));
}

TEST(TSampleFileStream, AnExpectedSizeLargerThanTheWritesLeavesNoReservedBlocks) {
    // The converting paste expects at most its result's size; the file keeps what was written.
    TempDir dir;
    const std::string path = dir.File("out.raw");
    const std::vector<int16_t> samples(50000, 9);
    TSampleFileStream stream(path, 64 << 20);
    stream.Write(samples.data(), 100000);
    stream.Close();
    struct stat status {};
    ASSERT_EQ(stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_size, 100000);
    EXPECT_LE(int64_t(status.st_blocks) * 512, 1 << 20);
    EXPECT_EQ(ToSamples(ReadWholeFile(path)), samples);
}

TEST(TSampleFileStream, AFullDiskIsReportedWithTheNoSpaceText) {
    // Writing to /dev/full fails with "no space left on device".
    TSampleFileStream stream("/dev/full", 0);
    const std::vector<int16_t> samples(4096, 7);
    try {
        stream.Write(samples.data(), 8192);
        FAIL() << "the write succeeded";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), TSampleFileStream::NoSpaceText);
    }
}

TEST(TSampleFileStream, TooLittleFreeSpaceIsReportedBeforeWriting) {
    TempDir dir;
    try {
        TSampleFileStream stream(dir.File("big.raw"), int64_t(1) << 60);
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), TSampleFileStream::NoSpaceText);
    }
}

TEST(TSampleFileStream, AFolderThatDoesNotExistCannotBeOpened) {
    EXPECT_THROW(TSampleFileStream("/nonexistent-folder/x.raw", 0), EFOpenError);
}

TEST(TSampleFileStream, WritingAfterCloseIsAnError) {
    TempDir dir;
    TSampleFileStream stream(dir.File("out.raw"), 0);
    stream.Close();
    const int16_t sample = 1;
    EXPECT_THROW(stream.Write(&sample, 2), EWriteError);
}
