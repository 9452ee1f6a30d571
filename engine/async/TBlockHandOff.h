#pragma once

#include "IAsyncCall.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class TFilter;
class TSampleFileStream;

/// The output side of the fade and gain workers and of the load: a fill buffer that the worker
/// computes into and a hand-off buffer that a pool thread writes to the result file and feeds to
/// the peak builder (`writeblock`) while the worker computes the next block. Each buffer holds
/// 16384 frames. At most one block is in flight; blocks reach the file and the builder in order,
/// and the stream and the builder are only used by one thread at a time.
///
///     TBlockHandOff output(channels, stream, builder);
///     while (...) { auto room = output.Room(); ...fill room.first(k)...; output.Commit(k); }
///     output.Finish(); // the last block, the rest, the close
///
/// The worker's thread calls every member. An error of a block written on the pool is raised by
/// the next `Commit` that fills the buffer, or by `Finish`. The destructor waits for a block still
/// in flight (its error is then dropped), so the stream and builder must outlive this object.
class TBlockHandOff {
public:
    static constexpr int32_t BlockFrames = 16384;

    TBlockHandOff(int32_t channels, TSampleFileStream& stream, TFilter& builder);
    ~TBlockHandOff();
    TBlockHandOff(const TBlockHandOff&) = delete;
    TBlockHandOff& operator=(const TBlockHandOff&) = delete;

    /// The free part of the fill buffer (never empty before `Finish`).
    std::span<int16_t> Room() { return std::span<int16_t>(Fill).subspan(size_t(FillPosition)); }
    /// Appends the first `samples` samples of `Room()`; hands the buffer off when it is full.
    void Commit(int64_t samples);
    /// Waits for the block in flight, writes and feeds the samples left in the fill buffer
    /// (possibly none) and closes the stream.
    void Finish();

private:
    void HandOff();
    void writeblock();

    TSampleFileStream& Stream;
    TFilter& Builder;
    std::vector<int16_t> Fill;
    std::vector<int16_t> Handed;
    int64_t FillPosition = 0;
    std::shared_ptr<IAsyncCall> Call; ///< last member: released (and waited for) first
};
