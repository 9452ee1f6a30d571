#pragma once

#include "WaveFormat.h"

#include <cstdint>
#include <memory>
#include <string>

/// Where a playing sound buffer's bytes go: a sound device (ALSA) or the null device.
///
/// One output lives while one buffer plays; it is used by that buffer's render thread, except
/// `Interrupt`, which any thread may call to make a blocked `Write` or `Drain` return, and
/// `FramesHeard`, which the buffer's owner may also call while the render thread writes.
class ISoundOutput {
public:
    virtual ~ISoundOutput() = default;

    /// Opens the output that `device` names: "null" for the null device, "alsa:NAME" for the
    /// ALSA device NAME. Returns 0, DSERR_NODRIVER when the device cannot be opened (or the name
    /// is neither), or DSERR_BADFORMAT when it refuses the format. On failure `reason`, when
    /// given, receives words for the user that say which output failed and why.
    static int32_t Open(const std::string& device, const WAVEFORMATEX& format,
                        std::unique_ptr<ISoundOutput>& output, std::string* reason = nullptr);

    /// The device that `SONDRIX_AUDIO` chooses: "null" for SONDRIX_AUDIO=null, "alsa:NAME" for
    /// SONDRIX_AUDIO=alsa:NAME, and ALSA's "default" device ("alsa:default") otherwise.
    static std::string ConfiguredDevice();

    /// Frames the output takes in one write.
    virtual uint32_t PeriodFrames() const = 0;

    /// Hands `frames` frames to the output, blocking while it is full. Returns 0, or a
    /// DSERR_ code when the device failed for good. Returns early after `Interrupt`.
    virtual int32_t Write(const uint8_t* data, uint32_t frames) = 0;

    /// Frames heard since the output opened, as the device reports them now: never decreases,
    /// never passes the frames written. When the device cannot tell, the last known count.
    virtual uint64_t FramesHeard() = 0;

    /// Blocks until every written frame has been heard (or until `Interrupt`); a device that
    /// never reports the end is given the time its queued frames take and a little more.
    virtual void Drain() = 0;

    /// Makes a blocked Write or Drain return; later calls return at once.
    virtual void Interrupt() = 0;

    /// The render thread is done with the output (it ends); called once, before destruction.
    virtual void Done() {}

    /// Underruns that the output recovered from since it opened.
    virtual uint32_t Underruns() const = 0;
};
