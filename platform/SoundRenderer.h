#pragma once

#include "SoundOutput.h"
#include "SoundRing.h"

#include <atomic>
#include <memory>
#include <thread>

/// The thread that plays one sound ring through one output: it takes a period of bytes at the
/// ring's write cursor, writes them to the output, and reports the frames heard back to the
/// ring, until it is stopped, a play without looping has been heard to its end, or the device
/// fails. Created when a buffer starts playing; destroying it stops the thread and closes the
/// output.
class SoundRenderer {
public:
    SoundRenderer(SoundRing& ring, std::unique_ptr<SoundOutput> output, uint32_t blockAlign);
    ~SoundRenderer();
    SoundRenderer(const SoundRenderer&) = delete;
    SoundRenderer& operator=(const SoundRenderer&) = delete;

private:
    void Run();
    void Play();

    SoundRing& Ring;
    const std::unique_ptr<SoundOutput> Output;
    const uint32_t BlockAlign;
    std::atomic<bool> Stopping{false};
    std::thread Thread;
};
