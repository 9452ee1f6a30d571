#pragma once

#include "DirectSoundTypes.h"
#include "IDirectSoundBuffer.h"

#include <cstdint>
#include <memory>
#include <string>

/// A playback device that makes sound buffers. The sound output behind it (ALSA or the null
/// device, see `ISoundOutput::ConfiguredDevice`) is chosen when the device is created but only
/// opened when one of its buffers starts to play, so creating a device succeeds without a
/// sound card; Play then reports DSERR_NODRIVER.
class IDirectSound8 {
public:
    explicit IDirectSound8(std::string device);

    /// Makes a primary buffer (DSBCAPS_PRIMARYBUFFER, no size, no format) or a secondary buffer
    /// of 16-bit or 8-bit PCM, 1 to 8 channels (WAVE_FORMAT_PCM, or WAVE_FORMAT_EXTENSIBLE with
    /// the PCM sub-format), whose size is a whole number of frames within DSBSIZE_MIN …
    /// DSBSIZE_MAX. The new ring holds silence. `outer` must be null (DSERR_NOAGGREGATION).
    int32_t CreateSoundBuffer(const DSBUFFERDESC* description,
                              std::shared_ptr<IDirectSoundBuffer>& buffer, void* outer);
    int32_t DuplicateSoundBuffer(const std::shared_ptr<IDirectSoundBuffer>& original,
                                 std::shared_ptr<IDirectSoundBuffer>& duplicate);
    /// Accepts the levels DSSCL_NORMAL … DSSCL_WRITEPRIMARY; the window is not used.
    int32_t SetCooperativeLevel(void* window, uint32_t level);

    const std::string& DeviceName() const { return Device; }

private:
    int32_t CreateSecondary(const DSBUFFERDESC& description,
                            std::shared_ptr<IDirectSoundBuffer>& buffer);

    const std::string Device;
};

/// Creates a device: the configured one for a null `device` GUID; DSERR_NODRIVER for any
/// other GUID (devices are not enumerated); DSERR_NOAGGREGATION when `outer` is set.
int32_t DirectSoundCreate8(const GUID* device, std::shared_ptr<IDirectSound8>& object, void* outer);
