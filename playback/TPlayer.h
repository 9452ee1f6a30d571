#pragma once

#include "IPlayerDocument.h"
#include "TDirectSound.h"
#include "TDirectSoundBuffer.h"
#include "TLargeFile.h"
#include "Twavefile.h"
#include "WaveFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

/// Bytes of the play range played so far.
using TPlayProcess = std::function<void(int32_t index)>;
/// True when playback has started, false when it stopped or failed to start.
using TPlayStatus = std::function<void(bool action)>;

/// Plays a byte range of a document's piece table through a one-second sound buffer of 16
/// segments, refilling the segments from the table as they are played.
///
/// Progress is the count of bytes the device has played, so a notification that comes late
/// refills every segment played since the last refill, in ring order, each with the bytes the
/// device will reach there next: a main thread busy for up to the buffer's length minus one
/// segment never lets a stale segment play, and after a longer stall the sound goes on from
/// the place the time has reached. At the end of the range the device plays out what it holds
/// and stops by itself; Stop and Close drop it at once.
///
/// Main thread only: notifications, events and the level queries all run there; the event
/// handlers may stop, close or prepare the player again. The player holds the table it was
/// prepared with. Prepare and Play raise EDirectSoundError (for example "No sound driver is
/// available for use" from Play without a sound device) or the table's read errors; a failure
/// during playback (a refill that cannot read the table, a sound device that went away) stops
/// it and is shown through `UserInterface::ShowError` once the notification has returned, so no
/// exception leaves a notification and no message box runs inside one.
class TPlayer {
public:
    TPlayer();
    /// Stops and frees the buffer and sets the document's gate, without calling the handlers.
    ~TPlayer();
    TPlayer(const TPlayer&) = delete;
    TPlayer& operator=(const TPlayer&) = delete;

    /// Builds and fills a new sound buffer for `rangeBytes` bytes of the table from sample
    /// `startSample` (frame × channels) on, in `format` (the document's 16-bit PCM format). An
    /// empty range never loops. Does not start playing.
    void Prepare(IPlayerDocument& document, uint32_t startSample, uint32_t rangeBytes,
                 const WAVEFORMATEX& format, bool loop);
    /// The same for a document of the engine.
    void Prepare(Twavefile& document, uint32_t startSample, uint32_t rangeBytes,
                 const WAVEFORMATEX& format, bool loop);
    /// Starts the prepared buffer from its first byte (refilled when it has played before).
    void Play();
    /// Stops; mode bit 0 also frees the buffer. Fires OnPlayStatus(false) and sets the gate.
    void Stop(uint32_t mode);
    void Close();

    /// The meter level (0 … 128: 1 for silence, 128 for full scale, 90/127 dB a step) of each
    /// channel at the play position, for at most `levels.size()` channels.
    void GetLevels(std::span<int16_t> levels);

    bool IsPlaying() const { return Playing; }
    bool IsPrepared() const { return Prepared; }

    TPlayProcess OnPlayProcess;
    TPlayStatus OnPlayStatus;

private:
    void SetupNotify();
    void FillBuffer();
    void OnBufferNotify(TDirectSoundBuffer* sender, int32_t index);
    void HandleNotify(int32_t index);
    void CatchUp();
    void WriteSegment(uint64_t segment);
    void MarkEnd();
    void ReportProgress();
    uint32_t PlayPosition() const;
    void FillSpan(uint8_t* destination, uint64_t at, uint32_t bytes);
    void SpanCopy(uint8_t* destination, uint32_t offset, uint32_t bytes);
    uint8_t SilenceByte() const;
    void FreeBuffer();
    void StartBuffer();
    void FireStatus(bool playing);

    std::shared_ptr<TLargeFile> Table;
    IPlayerDocument* Document = nullptr;
    std::unique_ptr<IPlayerDocument> OwnedDocument;
    uint32_t StartSample = 0;
    uint32_t RangeBytes = 0;
    WAVEFORMATEX Format{};
    uint32_t BufferBytes = 0;
    uint32_t SegmentBytes = 0;
    /// Bytes of the play written into the ring, counted from its start over every lap: the ring
    /// holds the play's bytes from BytesWritten − BufferBytes on.
    uint64_t BytesWritten = 0;
    /// Bytes the device has played, counted the same way.
    uint64_t BytesPlayed = 0;
    bool EndReached = false;
    bool Looping = false;
    bool Prepared = false;
    bool Playing = false;
    bool Played = false;
    std::unique_ptr<TDirectSound> Device;
    std::unique_ptr<TDirectSoundBuffer> SoundBuffer;
};
