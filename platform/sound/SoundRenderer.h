#pragma once

#include "ISoundOutput.h"
#include "SoundRing.h"

#include <atomic>
#include <memory>
#include <thread>

/// The thread that plays one sound ring through one output: it takes a period of bytes at the
/// ring's write cursor, writes them to the output, and reports the frames heard back to the
/// ring, until it is stopped, the play has been heard to its end (the output drained), or the
/// device fails. Created when a buffer starts playing; destroying it stops the thread at once
/// and closes the output, dropping what it still holds.
class SoundRenderer {
public:
    SoundRenderer(SoundRing& ring, std::unique_ptr<ISoundOutput> output, uint32_t blockAlign);
    ~SoundRenderer();
    SoundRenderer(const SoundRenderer&) = delete;
    SoundRenderer& operator=(const SoundRenderer&) = delete;

    /// Reports the frames heard at this moment to the ring, so that its play cursor is not a
    /// write behind. Called by the ring's owner, from one thread at a time.
    void Refresh();

private:
    void Run();
    void Play();

    SoundRing& Ring;
    const std::unique_ptr<ISoundOutput> Output;
    const uint32_t BlockAlign;
    std::atomic<bool> Stopping{false};
    std::thread Thread;
};
