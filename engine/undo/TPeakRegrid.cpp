#include "TPeakRegrid.h"

#include <algorithm>

namespace {

/// The element of a block that nothing has covered yet: no maximum and no minimum.
constexpr uint32_t Uncovered = MakeIndexElement(-32768, 32767);

uint32_t Union(uint32_t a, uint32_t b) {
    return MakeIndexElement(std::max(IndexMaximum(a), IndexMaximum(b)),
                            std::min(IndexMinimum(a), IndexMinimum(b)));
}

} // namespace

TPeakRegrid::TPeakRegrid(int32_t channels)
    : Channels(std::clamp(channels, 1, 8)) {}

void TPeakRegrid::Append(const Tindexdata& index, int64_t first, int64_t count, bool reversed) {
    if (count <= 0)
        return;
    const int64_t end = Frames + count;
    Result.resize(size_t((end + IndexBlockFrames - 1) / IndexBlockFrames * Channels), Uncovered);
    // Walk the run in stretches that lie inside one new block and one source block.
    for (int64_t done = 0; done < count;) {
        const int64_t target = Frames + done;
        const int64_t source = reversed ? first + count - 1 - done : first + done;
        const int64_t targetRoom = IndexBlockFrames - target % IndexBlockFrames;
        const int64_t sourceRoom =
            reversed ? source % IndexBlockFrames + 1 : IndexBlockFrames - source % IndexBlockFrames;
        Merge(target / IndexBlockFrames, index, source / IndexBlockFrames);
        done += std::min({targetRoom, sourceRoom, count - done});
    }
    Frames = end;
}

void TPeakRegrid::Merge(int64_t block, const Tindexdata& index, int64_t sourceBlock) {
    const size_t from = size_t(sourceBlock * Channels);
    if (from + size_t(Channels) > index.size())
        return;
    const size_t to = size_t(block * Channels);
    for (int32_t c = 0; c < Channels; ++c)
        Result[to + size_t(c)] = Union(Result[to + size_t(c)], index[from + size_t(c)]);
}

Tindexdata TPeakRegrid::Take() {
    Tindexdata index = std::move(Result);
    std::replace(index.begin(), index.end(), Uncovered, MakeIndexElement(0, 0));
    Result.clear();
    Frames = 0;
    return index;
}
