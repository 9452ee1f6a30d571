#include "TBlockHandOff.h"

#include "Exceptions.h"
#include "SampleEditFixture.h"
#include "TFilter.h"
#include "TSampleFileStream.h"

#include <gtest/gtest.h>

namespace {

/// Pushes `samples` through a hand-off in pieces of `piece` frames; returns the file's samples
/// and the builder's index.
std::pair<std::vector<int16_t>, Tindexdata> PassThrough(const std::vector<int16_t>& samples,
                                                        int32_t channels, int64_t piece) {
    TempDir dir;
    const std::string path = dir.File("out.raw");
    TSampleFileStream stream(path, 0);
    TFilter builder(channels);
    {
        TBlockHandOff output(channels, stream, builder);
        for (size_t done = 0; done < samples.size();) {
            const std::span<int16_t> room = output.Room();
            const size_t count =
                std::min({room.size(), samples.size() - done, size_t(piece * channels)});
            std::copy_n(samples.begin() + ptrdiff_t(done), count, room.begin());
            output.Commit(int64_t(count));
            done += count;
        }
        output.Finish();
    }
    Tindexdata index;
    builder.GetIndexData(index);
    return {ToSamples(ReadWholeFile(path)), index};
}

} // namespace

TEST(TBlockHandOff, BlocksReachTheFileAndTheBuilderInOrder) {
    for (const int32_t channels : {1, 2, 3})
        for (const int64_t frames : {1, 16383, 16384, 16385, 3 * 16384, 50000})
            for (const int64_t piece : {1000, 16384}) {
                const std::vector<int16_t> samples = TestSignal(frames, channels, 3);
                const auto [written, index] = PassThrough(samples, channels, piece);
                EXPECT_EQ(written, samples) << channels << " " << frames << " " << piece;
                EXPECT_EQ(index, BuilderIndex(samples, channels));
            }
}

TEST(TBlockHandOff, RoomIsTheRestOfABlockOfSixteenThousandFrames) {
    TempDir dir;
    TSampleFileStream stream(dir.File("out.raw"), 0);
    TFilter builder(3);
    TBlockHandOff output(3, stream, builder);
    EXPECT_EQ(output.Room().size(), 3u * 16384u);
    output.Commit(30);
    EXPECT_EQ(output.Room().size(), 3u * 16384u - 30u);
    output.Commit(int64_t(output.Room().size()));
    EXPECT_EQ(output.Room().size(), 3u * 16384u); // handed off: a whole block again
    output.Finish();
}

TEST(TBlockHandOff, AWriteErrorOnThePoolIsRaisedInTheWorker) {
    TSampleFileStream stream("/dev/full", 0);
    TFilter builder(1);
    TBlockHandOff output(1, stream, builder);
    output.Commit(16384); // the first block fails on the pool
    try {
        output.Commit(16384); // … and its error comes back here
        output.Finish();
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), TSampleFileStream::NoSpaceText);
    }
}
