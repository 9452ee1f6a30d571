#include "SoundRing.h"

#include "Event.h"

#include <algorithm>
#include <cstring>

namespace {

std::atomic<int64_t>& OutstandingSignals() {
    static std::atomic<int64_t> count{0};
    return count;
}

} // namespace

SoundRing::SoundRing(std::shared_ptr<Memory> memory, uint32_t blockAlign)
    : Bytes(std::move(memory))
    , RingSize(static_cast<uint32_t>(Bytes->Bytes.size()))
    , BlockAlign(blockAlign == 0 ? 1 : blockAlign) {}

SoundRing::~SoundRing() {
    OutstandingSignals() -= Unhandled;
}

uint32_t SoundRing::PlayCursorLocked() const {
    return static_cast<uint32_t>((PlayStart + Heard) % RingSize);
}

void SoundRing::GetPositions(uint32_t& play, uint32_t& write) const {
    std::lock_guard guard(Lock);
    play = PlayCursorLocked();
    write = Playing ? static_cast<uint32_t>((PlayStart + Taken) % RingSize) : play;
}

bool SoundRing::IsPlaying() const {
    std::lock_guard guard(Lock);
    return Playing;
}

bool SoundRing::IsLooping() const {
    std::lock_guard guard(Lock);
    return Looping;
}

bool SoundRing::IsLost() const {
    std::lock_guard guard(Lock);
    return Lost;
}

void SoundRing::SetPosition(uint32_t offset) {
    std::lock_guard guard(Lock);
    PlayStart = offset - offset % BlockAlign;
    Heard = 0;
    Taken = 0;
    HeardByPlay = 0;
}

uint64_t SoundRing::HeardBytes() const {
    std::lock_guard guard(Lock);
    return HeardByPlay;
}

void SoundRing::SetEnd(uint64_t bytes) {
    std::lock_guard guard(Lock);
    End = bytes - bytes % BlockAlign;
}

void SoundRing::CopyOut(uint32_t offset, uint8_t* destination, uint32_t bytes) const {
    std::lock_guard guard(Bytes->Lock);
    std::memcpy(destination, Bytes->Bytes.data() + offset, bytes);
}

void SoundRing::CopyIn(uint32_t offset, const uint8_t* source, uint32_t bytes) {
    std::lock_guard guard(Bytes->Lock);
    std::memcpy(Bytes->Bytes.data() + offset, source, bytes);
}

int32_t SoundRing::SetNotifications(uint32_t count, const DSBPOSITIONNOTIFY* positions) {
    if (count > 0 && positions == nullptr)
        return DSERR_INVALIDPARAM;
    for (uint32_t i = 0; i < count; ++i)
        if (positions[i].hEventNotify == nullptr ||
            (positions[i].dwOffset >= RingSize && positions[i].dwOffset != DSBPN_OFFSETSTOP))
            return DSERR_INVALIDPARAM;
    std::lock_guard guard(Lock);
    if (count > 0 && Playing)
        return DSERR_INVALIDCALL;
    Positions.assign(positions, positions + count);
    OutstandingSignals() -= Unhandled;
    Unhandled = 0;
    return DS_OK;
}

void SoundRing::NotificationHandled() {
    std::lock_guard guard(Lock);
    if (Unhandled > 0) {
        --Unhandled;
        --OutstandingSignals();
    }
}

int64_t SoundRing::Outstanding() {
    return OutstandingSignals();
}

void SoundRing::Signal(Event* event) {
    // A signal of an event that is still set merges into it: the receiver sees it once.
    if (!event->IsSet()) {
        ++Unhandled;
        ++OutstandingSignals();
    }
    event->Set();
}

void SoundRing::Start(bool looping) {
    std::lock_guard guard(Lock);
    Playing = true;
    Looping = looping;
    Heard = 0;
    Taken = 0;
    HeardByPlay = 0;
}

void SoundRing::SetLooping(bool looping) {
    std::lock_guard guard(Lock);
    Looping = looping;
}

void SoundRing::Halt() {
    std::lock_guard guard(Lock);
    if (!Playing)
        return;
    PlayStart = PlayCursorLocked();
    Heard = 0;
    Taken = 0;
    End = NoEnd;
    Playing = false;
    SignalStop();
}

uint32_t SoundRing::Take(uint8_t* destination, uint32_t maxBytes) {
    std::lock_guard guard(Lock);
    uint32_t offset = static_cast<uint32_t>((PlayStart + Taken) % RingSize);
    const bool atEnd = offset == 0 && PlayStart + Taken > 0;
    if ((!Looping && atEnd) || Taken >= End)
        return 0;
    uint32_t wanted = maxBytes - maxBytes % BlockAlign;
    if (!Looping)
        wanted = std::min(wanted, RingSize - offset);
    wanted = static_cast<uint32_t>(std::min<uint64_t>(wanted, End - Taken));
    std::lock_guard bytesGuard(Bytes->Lock);
    uint32_t done = 0;
    while (done < wanted) {
        const uint32_t part = std::min(wanted - done, RingSize - offset);
        std::memcpy(destination + done, Bytes->Bytes.data() + offset, part);
        done += part;
        offset = (offset + part) % RingSize;
    }
    Taken += done;
    return done;
}

void SoundRing::Hear(uint64_t bytes) {
    std::lock_guard guard(Lock);
    bytes = std::min(bytes - bytes % BlockAlign, Taken);
    if (bytes <= Heard)
        return;
    SignalReached(PlayStart + Heard, PlayStart + bytes);
    Heard = bytes;
    HeardByPlay = bytes;
}

void SoundRing::SignalReached(uint64_t from, uint64_t to) {
    // A position p is reached when the cursor moves from before an offset x ≡ p (mod size) to
    // x or past it; positions are signalled in the order the cursor meets them.
    std::vector<std::pair<uint64_t, Event*>> reached;
    for (const DSBPOSITIONNOTIFY& position : Positions) {
        if (position.dwOffset == DSBPN_OFFSETSTOP)
            continue;
        const uint64_t ahead = (position.dwOffset + RingSize - from % RingSize) % RingSize;
        const uint64_t x = from + (ahead == 0 ? RingSize : ahead);
        if (x <= to)
            reached.emplace_back(x, position.hEventNotify);
    }
    std::sort(reached.begin(), reached.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [x, event] : reached)
        Signal(event);
}

void SoundRing::SignalStop() {
    for (const DSBPOSITIONNOTIFY& position : Positions)
        if (position.dwOffset == DSBPN_OFFSETSTOP)
            Signal(position.hEventNotify);
}

void SoundRing::Finish(int32_t result) {
    std::lock_guard guard(Lock);
    if (!Playing)
        return;
    if (result != DS_OK)
        Lost = true;
    PlayStart = PlayCursorLocked();
    Heard = 0;
    Taken = 0;
    End = NoEnd;
    Playing = false;
    SignalStop();
}
