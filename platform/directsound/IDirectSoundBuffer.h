#pragma once

#include "DirectSoundTypes.h"
#include "IDirectSound3DBuffer.h"
#include "IDirectSound3DListener.h"
#include "IDirectSoundNotify.h"
#include "IKsPropertySet.h"
#include "SoundRenderer.h"
#include "SoundRing.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

/// A sound buffer: the primary buffer of a device, or a secondary buffer that is a ring of
/// sample bytes with a play cursor and a write cursor.
///
/// A secondary buffer opens its sound output when it starts to play and closes it when it
/// stops; while it plays, a render thread moves the play cursor forwards as the output is heard
/// and signals the notification events. The calls return 0 or a DSERR_ code. Call them from one
/// thread at a time; the render thread is the buffer's own business.
class IDirectSoundBuffer : public IDirectSoundNotify,
                           public std::enable_shared_from_this<IDirectSoundBuffer> {
public:
    /// A primary buffer (no ring) when `memory` is null.
    IDirectSoundBuffer(std::string device, uint32_t flags, const WAVEFORMATEX& format,
                       std::shared_ptr<SoundRing::Memory> memory);
    ~IDirectSoundBuffer() override;

    /// A new secondary buffer on the same sample memory with cursors of its own.
    std::shared_ptr<IDirectSoundBuffer> Duplicate() const;
    bool IsPrimary() const { return Ring == nullptr; }

    /// The notification interface for IID_IDirectSoundNotify on a buffer made with
    /// DSBCAPS_CTRLPOSITIONNOTIFY; E_NOINTERFACE for anything else.
    int32_t QueryInterface(const GUID& iid, std::shared_ptr<IDirectSoundNotify>& object);
    /// This platform has no 3D sound and no driver property sets: E_NOINTERFACE always.
    int32_t QueryInterface(const GUID& iid, std::shared_ptr<IDirectSound3DBuffer>& object);
    int32_t QueryInterface(const GUID& iid, std::shared_ptr<IDirectSound3DListener>& object);
    int32_t QueryInterface(const GUID& iid, std::shared_ptr<IKsPropertySet>& object);

    /// The cursors as the sound output reports them at the time of the call.
    int32_t GetCurrentPosition(uint32_t* play, uint32_t* write) const;
    /// Bytes heard since the buffer last started to play, every lap of the ring counted (the
    /// play cursor is this count plus the starting offset, modulo the size). After the play
    /// stopped, what it heard; 0 once the play cursor is moved.
    int32_t GetPlayedBytes(uint64_t* bytes) const;
    /// Moves the play cursor; only while stopped (DSERR_INVALIDCALL while playing).
    int32_t SetCurrentPosition(uint32_t offset);
    int32_t GetStatus(uint32_t* status) const;

    /// Locks `bytes` from `offset` (or from the write cursor, or the whole buffer, by `flags`)
    /// and gives one or two areas (the second when the lock wraps). The areas hold the ring's
    /// bytes; what is written into them reaches the ring at Unlock. One lock at a time.
    int32_t Lock(uint32_t offset, uint32_t bytes, void** area1, uint32_t* length1, void** area2,
                 uint32_t* length2, uint32_t flags);
    int32_t Unlock(void* area1, uint32_t length1, void* area2, uint32_t length2);

    /// Starts playing at the play cursor, through to the end of the ring or, with
    /// DSBPLAY_LOOPING, round and round. DSERR_NODRIVER when the sound device cannot be opened.
    int32_t Play(uint32_t reserved, uint32_t priority, uint32_t flags);
    /// Why the last Play could not open the sound output, in words for the user (which output,
    /// and the sound system's reason); empty when it could.
    const std::string& OutputFailure() const { return LastOutputFailure; }
    int32_t Stop();
    /// Ends the current play, or the next one while stopped, once `bytes` bytes of it have been
    /// heard: the output plays out what it holds up to there (drains) and the buffer stops by
    /// itself, signalling its stop positions. Stop, in contrast, drops what the output holds.
    int32_t SetPlayEnd(uint64_t bytes);

    int32_t SetNotificationPositions(uint32_t count, const DSBPOSITIONNOTIFY* positions) override;
    void NotificationHandled() override;

private:
    void EndRenderer();
    void RefreshCursor() const;

    const std::string Device;
    const uint32_t Flags;
    const WAVEFORMATEX Format;
    const std::unique_ptr<SoundRing> Ring;
    std::unique_ptr<SoundRenderer> Renderer;
    std::vector<uint8_t> Staging;
    std::string LastOutputFailure;
    uint32_t LockOffset = 0;
    uint32_t LockLength1 = 0;
    uint32_t LockLength2 = 0;
    bool Locked = false;
};
