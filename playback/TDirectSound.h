#pragma once

#include "DirectSoundTypes.h"
#include "IDirectSound8.h"

#include <cstdint>
#include <memory>
#include <vector>

class TDirectSoundBuffer;

/// A playback device with its primary buffer. Creating it never needs a sound card: the sound
/// output is opened when a buffer starts to play. Main thread only.
///
/// The device keeps a list of its buffers (the primary one included) and frees those still in
/// it when it is freed; a buffer freed earlier takes itself out of the list. It is listed in
/// `DirectSoundList` while it lives.
class TDirectSound {
public:
    /// `device` null for the default device; `flags` are added to the primary buffer's.
    TDirectSound(const GUID* device, uint32_t flags);
    ~TDirectSound();
    TDirectSound(const TDirectSound&) = delete;
    TDirectSound& operator=(const TDirectSound&) = delete;

    /// Adds a buffer to `Buffers` (once) or, with `remove`, takes it out; null is ignored.
    void RegisterBuffer(TDirectSoundBuffer* buffer, bool remove);
    void SetCooperativeLevel(void* window, uint32_t level);

    std::shared_ptr<IDirectSound8> DirectSound;
    std::vector<TDirectSoundBuffer*> Buffers;
    TDirectSoundBuffer* PrimaryBuffer = nullptr;

private:
    void FreeBuffers();
};
