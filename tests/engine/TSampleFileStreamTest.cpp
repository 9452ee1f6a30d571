#include "TSampleFileStream.h"

#include "Exceptions.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>

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
