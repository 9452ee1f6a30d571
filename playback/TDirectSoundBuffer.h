#pragma once

#include "DirectSoundTypes.h"
#include "IDirectSoundBuffer.h"
#include "IDirectSoundNotify.h"
#include "TNotifyThread.h"

#include <cstdint>
#include <functional>
#include <memory>

class TDirectSound;

/// One sound buffer of a `TDirectSound`, with its position notifications. Every call checks its
/// result with `DSCheck`. Main thread only; `OnNotify` is called on the main thread, and its
/// handler may free the buffer.
///
/// The buffer is registered with its owner from construction to destruction; the owner frees
/// the buffers still registered when it is freed itself.
class TDirectSoundBuffer {
public:
    using TNotifyEvent = std::function<void(TDirectSoundBuffer* sender, int32_t index)>;

    TDirectSoundBuffer(TDirectSound& owner, const DSBUFFERDESC& description);
    /// A buffer on the same samples as `source`, with cursors of its own; freed like any other
    /// buffer (by the caller, or by the device when the device goes first).
    static TDirectSoundBuffer* CreateDuplicate(const TDirectSoundBuffer& source);
    ~TDirectSoundBuffer();
    TDirectSoundBuffer(const TDirectSoundBuffer&) = delete;
    TDirectSoundBuffer& operator=(const TDirectSoundBuffer&) = delete;

    /// The play cursor in bytes.
    uint32_t GetCurrentPosition();
    /// Bytes heard since the buffer started to play, every lap of the ring counted; after it
    /// stopped, what that play heard.
    uint64_t GetPlayedBytes();
    /// Ends the play once `bytes` bytes of it have been heard, letting the output drain; the
    /// buffer then stops by itself and its stop position is signalled.
    void SetPlayEnd(uint64_t bytes);
    void SetCurrentPosition(uint32_t offset);
    void Lock(uint32_t offset, uint32_t bytes, void** area1, uint32_t* length1, void** area2,
              uint32_t* length2, uint32_t flags);
    void Unlock(void* area1, uint32_t length1, void* area2, uint32_t length2);
    void Play(uint32_t flags);
    void Stop();

    /// Replaces the notification positions (at most 63 offsets, or DSBPN_OFFSETSTOP) and the
    /// thread that reports them: Index i of `OnNotify` is offsets[i]. The old thread is stopped
    /// and freed first. A buffer made without DSBCAPS_CTRLPOSITIONNOTIFY raises
    /// EDirectSoundError (DSERR_CONTROLUNAVAIL).
    void SetNotifications(uint32_t count, const uint32_t* offsets);

    TNotifyEvent OnNotify;

    std::shared_ptr<IDirectSoundBuffer> SoundBuffer;
    /// Empty on this platform (no 3D sound, no property sets), like any interface the buffer
    /// lacks.
    std::shared_ptr<IDirectSound3DBuffer> Buffer3D;
    std::shared_ptr<IDirectSound3DListener> Listener3D;
    std::shared_ptr<IDirectSoundNotify> Notify;
    std::shared_ptr<IKsPropertySet> PropertySet;
    TDirectSound* Owner = nullptr;
    std::unique_ptr<TNotifyThread> NotifyThread;

private:
    explicit TDirectSoundBuffer(TDirectSound& owner);
    void QueryInterfaces();
    void ReleaseInterfaces();
    void NotifyHandler(TDirectSoundBuffer* sender, int32_t index);
};
