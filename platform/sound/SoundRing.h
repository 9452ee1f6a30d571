#pragma once

#include "DirectSoundTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

/// The bytes, cursors and notification positions of one secondary sound buffer, shared between
/// the buffer's caller and its render thread. All members are thread-safe.
///
/// Cursors are byte offsets in the ring. While the buffer plays, the render thread takes bytes
/// at the write cursor (`Take`) and reports how many of them have been heard (`Hear`), which
/// moves the play cursor forwards only; every notification position that the play cursor
/// reaches signals its event once.
class SoundRing {
public:
    /// Sample memory, shared by a buffer and its duplicates.
    struct Memory {
        std::mutex Lock;
        std::vector<uint8_t> Bytes;
    };

    SoundRing(std::shared_ptr<Memory> memory, uint32_t blockAlign);
    ~SoundRing();

    uint32_t Size() const { return RingSize; }
    const std::shared_ptr<Memory>& SharedMemory() const { return Bytes; }

    void GetPositions(uint32_t& play, uint32_t& write) const;
    bool IsPlaying() const;
    bool IsLooping() const;
    bool IsLost() const;

    /// Moves the play cursor of a stopped ring.
    void SetPosition(uint32_t offset);

    /// Copies bytes out of or into the ring, `bytes` ≤ Size() − offset.
    void CopyOut(uint32_t offset, uint8_t* destination, uint32_t bytes) const;
    void CopyIn(uint32_t offset, const uint8_t* source, uint32_t bytes);

    int32_t SetNotifications(uint32_t count, const DSBPOSITIONNOTIFY* positions);
    void NotificationHandled();
    static int64_t Outstanding();

    /// Bytes heard since the play started, every lap of the ring counted; once the play has
    /// ended, what it heard, until the ring starts again or is moved.
    uint64_t HeardBytes() const;

    /// Starts playing at the play cursor.
    void Start(bool looping);
    void SetLooping(bool looping);
    /// Ends the play, or the next one while stopped, once `bytes` bytes of it have been heard:
    /// nothing after them is taken, so the output drains and the play ends by itself.
    void SetEnd(uint64_t bytes);
    /// Stopped by its caller: the play cursor stays where it is; signals the stop positions.
    void Halt();

    /// Render side: copies up to `maxBytes` (whole frames) from the write cursor; 0 when a play
    /// without looping has reached the end of the ring, or the play has reached its end.
    uint32_t Take(uint8_t* destination, uint32_t maxBytes);
    /// Render side: `bytes` of this play have been heard so far.
    void Hear(uint64_t bytes);
    /// Render side: the play ended by itself (result 0) or the device failed (the ring is lost).
    void Finish(int32_t result);

private:
    uint32_t PlayCursorLocked() const;
    void SignalReached(uint64_t from, uint64_t to);
    void SignalStop();
    void Signal(Event* event);

    static constexpr uint64_t NoEnd = UINT64_MAX;

    const std::shared_ptr<Memory> Bytes;
    const uint32_t RingSize;
    const uint32_t BlockAlign;

    mutable std::mutex Lock;
    bool Playing = false;
    bool Looping = false;
    bool Lost = false;
    uint32_t PlayStart = 0;
    uint64_t Heard = 0;
    uint64_t Taken = 0;
    uint64_t End = NoEnd;
    uint64_t HeardByPlay = 0;
    std::vector<DSBPOSITIONNOTIFY> Positions;
    int64_t Unhandled = 0;
};
