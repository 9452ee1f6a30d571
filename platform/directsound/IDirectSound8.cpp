#include "IDirectSound8.h"

#include "ISoundOutput.h"
#include "SampleRateRange.h"

#include <cstring>

namespace {

/// The PCM format of a buffer description, or false when it is not one we can play.
bool PlayableFormat(const WAVEFORMATEX* format, WAVEFORMATEX& pcm) {
    if (!format)
        return false;
    pcm = *format;
    if (format->wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
        WAVEFORMATEXTENSIBLE extensible;
        std::memcpy(&extensible, format, sizeof(extensible));
        if (format->cbSize < 22 || !(extensible.SubFormat == KSDATAFORMAT_SUBTYPE_PCM))
            return false;
    } else if (format->wFormatTag != WAVE_FORMAT_PCM) {
        return false;
    }
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.cbSize = 0;
    const uint32_t bytesPerSample = pcm.wBitsPerSample / 8;
    return (pcm.wBitsPerSample == 8 || pcm.wBitsPerSample == 16) && pcm.nChannels >= 1 &&
           pcm.nChannels <= 8 && pcm.nSamplesPerSec >= MinSampleRate &&
           pcm.nSamplesPerSec <= MaxSampleRate && pcm.nBlockAlign == pcm.nChannels * bytesPerSample;
}

} // namespace

IDirectSound8::IDirectSound8(std::string device)
    : Device(std::move(device)) {}

int32_t IDirectSound8::CreateSoundBuffer(const DSBUFFERDESC* description,
                                         std::shared_ptr<IDirectSoundBuffer>& buffer, void* outer) {
    buffer.reset();
    if (outer)
        return DSERR_NOAGGREGATION;
    if (!description || description->dwSize != sizeof(DSBUFFERDESC))
        return DSERR_INVALIDPARAM;
    if (description->dwFlags & DSBCAPS_PRIMARYBUFFER) {
        if (description->dwBufferBytes != 0 || description->lpwfxFormat)
            return DSERR_INVALIDPARAM;
        buffer = std::make_shared<IDirectSoundBuffer>(Device, description->dwFlags, WAVEFORMATEX{},
                                                      nullptr);
        return DS_OK;
    }
    return CreateSecondary(*description, buffer);
}

int32_t IDirectSound8::CreateSecondary(const DSBUFFERDESC& description,
                                       std::shared_ptr<IDirectSoundBuffer>& buffer) {
    WAVEFORMATEX format{};
    if (!PlayableFormat(description.lpwfxFormat, format))
        return DSERR_BADFORMAT;
    const uint32_t bytes = description.dwBufferBytes;
    if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX || bytes % format.nBlockAlign != 0)
        return DSERR_INVALIDPARAM;
    auto memory = std::make_shared<SoundRing::Memory>();
    try {
        memory->Bytes.assign(bytes, format.wBitsPerSample == 8 ? 128 : 0);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    buffer = std::make_shared<IDirectSoundBuffer>(Device, description.dwFlags, format,
                                                  std::move(memory));
    return DS_OK;
}

int32_t IDirectSound8::DuplicateSoundBuffer(const std::shared_ptr<IDirectSoundBuffer>& original,
                                            std::shared_ptr<IDirectSoundBuffer>& duplicate) {
    duplicate.reset();
    if (!original)
        return DSERR_INVALIDPARAM;
    if (original->IsPrimary())
        return DSERR_INVALIDCALL;
    duplicate = original->Duplicate();
    return DS_OK;
}

int32_t IDirectSound8::SetCooperativeLevel(void*, uint32_t level) {
    if (level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY)
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

int32_t DirectSoundCreate8(const GUID* device, std::shared_ptr<IDirectSound8>& object,
                           void* outer) {
    object.reset();
    if (outer)
        return DSERR_NOAGGREGATION;
    if (device && !(*device == GUID_NULL))
        return DSERR_NODRIVER;
    object = std::make_shared<IDirectSound8>(ISoundOutput::ConfiguredDevice());
    return DS_OK;
}
