#include "TBlockHandOff.h"

#include "AsyncLocalCall.h"
#include "TFilter.h"
#include "TSampleFileStream.h"

TBlockHandOff::TBlockHandOff(int32_t channels, TSampleFileStream& stream, TFilter& builder)
    : Stream(stream)
    , Builder(builder)
    , Fill(size_t(channels) << 14)
    , Handed(size_t(channels) << 14) {}

TBlockHandOff::~TBlockHandOff() = default;

void TBlockHandOff::Commit(int64_t samples) {
    FillPosition += samples;
    if (FillPosition == int64_t(Fill.size()))
        HandOff();
}

void TBlockHandOff::HandOff() {
    if (Call)
        Call->Sync(); // the hand-off buffer is free again; raises what the last block raised
    // The whole fill buffer becomes the hand-off buffer; exchanging them copies nothing.
    Fill.swap(Handed);
    Call = AsyncLocalCall([this] { writeblock(); });
    FillPosition = 0;
}

void TBlockHandOff::writeblock() {
    Stream.Write(Handed.data(), int64_t(Handed.size()) * 2);
    Builder.Feed(Handed.data(), int64_t(Handed.size()));
}

void TBlockHandOff::Finish() {
    if (Call) {
        const std::shared_ptr<IAsyncCall> last = std::move(Call);
        last->Sync();
    }
    Stream.Write(Fill.data(), FillPosition * 2);
    Stream.Close();
    Builder.Feed(Fill.data(), FillPosition);
    FillPosition = 0;
}
