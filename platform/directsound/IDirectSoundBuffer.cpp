#include "IDirectSoundBuffer.h"

#include <algorithm>

IDirectSoundBuffer::IDirectSoundBuffer(std::string device, uint32_t flags,
                                       const WAVEFORMATEX& format,
                                       std::shared_ptr<SoundRing::Memory> memory)
    : Device(std::move(device))
    , Flags(flags)
    , Format(format)
    , Ring(memory ? std::make_unique<SoundRing>(std::move(memory), format.nBlockAlign) : nullptr) {}

IDirectSoundBuffer::~IDirectSoundBuffer() {
    Renderer.reset();
}

std::shared_ptr<IDirectSoundBuffer> IDirectSoundBuffer::Duplicate() const {
    return std::make_shared<IDirectSoundBuffer>(Device, Flags, Format, Ring->SharedMemory());
}

int32_t IDirectSoundBuffer::QueryInterface(const GUID& iid,
                                           std::shared_ptr<IDirectSoundNotify>& object) {
    object.reset();
    if (iid != IID_IDirectSoundNotify || IsPrimary() || !(Flags & DSBCAPS_CTRLPOSITIONNOTIFY))
        return E_NOINTERFACE;
    object = shared_from_this();
    return DS_OK;
}

int32_t IDirectSoundBuffer::QueryInterface(const GUID&,
                                           std::shared_ptr<IDirectSound3DBuffer>& object) {
    object.reset();
    return E_NOINTERFACE;
}

int32_t IDirectSoundBuffer::QueryInterface(const GUID&,
                                           std::shared_ptr<IDirectSound3DListener>& object) {
    object.reset();
    return E_NOINTERFACE;
}

int32_t IDirectSoundBuffer::QueryInterface(const GUID&, std::shared_ptr<IKsPropertySet>& object) {
    object.reset();
    return E_NOINTERFACE;
}

void IDirectSoundBuffer::RefreshCursor() const {
    if (Renderer)
        Renderer->Refresh();
}

int32_t IDirectSoundBuffer::GetPlayedBytes(uint64_t* bytes) const {
    if (!bytes)
        return DSERR_INVALIDPARAM;
    *bytes = 0;
    if (IsPrimary())
        return DS_OK;
    if (Ring->IsLost())
        return DSERR_BUFFERLOST;
    RefreshCursor();
    *bytes = Ring->HeardBytes();
    return DS_OK;
}

int32_t IDirectSoundBuffer::SetPlayEnd(uint64_t bytes) {
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    Ring->SetEnd(bytes);
    return DS_OK;
}

int32_t IDirectSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) const {
    if (IsPrimary()) {
        if (play)
            *play = 0;
        if (write)
            *write = 0;
        return DS_OK;
    }
    if (Ring->IsLost())
        return DSERR_BUFFERLOST;
    RefreshCursor();
    uint32_t playCursor = 0;
    uint32_t writeCursor = 0;
    Ring->GetPositions(playCursor, writeCursor);
    if (play)
        *play = playCursor;
    if (write)
        *write = writeCursor;
    return DS_OK;
}

int32_t IDirectSoundBuffer::SetCurrentPosition(uint32_t offset) {
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    if (offset >= Ring->Size())
        return DSERR_INVALIDPARAM;
    if (Ring->IsPlaying())
        return DSERR_INVALIDCALL;
    EndRenderer();
    Ring->SetPosition(offset);
    return DS_OK;
}

int32_t IDirectSoundBuffer::GetStatus(uint32_t* status) const {
    if (!status)
        return DSERR_INVALIDPARAM;
    *status = 0;
    if (!IsPrimary() && Ring->IsPlaying())
        *status = DSBSTATUS_PLAYING | (Ring->IsLooping() ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

int32_t IDirectSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** area1, uint32_t* length1,
                                 void** area2, uint32_t* length2, uint32_t flags) {
    if (IsPrimary())
        return DSERR_PRIOLEVELNEEDED;
    if (!area1 || !length1)
        return DSERR_INVALIDPARAM;
    if (Locked)
        return DSERR_INVALIDCALL;
    if (Ring->IsLost())
        return DSERR_BUFFERLOST;
    const uint32_t size = Ring->Size();
    if (flags & DSBLOCK_FROMWRITECURSOR) {
        uint32_t play = 0;
        Ring->GetPositions(play, offset);
    }
    if (flags & DSBLOCK_ENTIREBUFFER)
        bytes = size;
    if (offset >= size || bytes == 0 || bytes > size)
        return DSERR_INVALIDPARAM;
    LockOffset = offset;
    LockLength1 = std::min(bytes, size - offset);
    LockLength2 = area2 ? bytes - LockLength1 : 0;
    Staging.resize(static_cast<size_t>(LockLength1) + LockLength2);
    Ring->CopyOut(offset, Staging.data(), LockLength1);
    if (LockLength2 > 0)
        Ring->CopyOut(0, Staging.data() + LockLength1, LockLength2);
    *area1 = Staging.data();
    *length1 = LockLength1;
    if (area2)
        *area2 = LockLength2 > 0 ? Staging.data() + LockLength1 : nullptr;
    if (length2)
        *length2 = LockLength2;
    Locked = true;
    return DS_OK;
}

int32_t IDirectSoundBuffer::Unlock(void* area1, uint32_t length1, void* area2, uint32_t length2) {
    if (IsPrimary())
        return DSERR_PRIOLEVELNEEDED;
    if (!Locked || area1 != Staging.data() || length1 > LockLength1 || length2 > LockLength2 ||
        (length2 > 0 && area2 != Staging.data() + LockLength1))
        return DSERR_INVALIDPARAM;
    Ring->CopyIn(LockOffset, Staging.data(), length1);
    if (length2 > 0)
        Ring->CopyIn(0, Staging.data() + LockLength1, length2);
    Locked = false;
    return DS_OK;
}

int32_t IDirectSoundBuffer::Play(uint32_t reserved, uint32_t priority, uint32_t flags) {
    LastOutputFailure.clear();
    if (reserved != 0 || priority != 0)
        return DSERR_INVALIDPARAM;
    if (IsPrimary())
        return DS_OK;
    if (Ring->IsLost())
        return DSERR_BUFFERLOST;
    const bool looping = flags & DSBPLAY_LOOPING;
    if (Ring->IsPlaying()) {
        Ring->SetLooping(looping);
        return DS_OK;
    }
    EndRenderer();
    std::unique_ptr<ISoundOutput> output;
    if (const int32_t result = ISoundOutput::Open(Device, Format, output, &LastOutputFailure);
        result != DS_OK)
        return result;
    Ring->Start(looping);
    Renderer = std::make_unique<SoundRenderer>(*Ring, std::move(output), Format.nBlockAlign);
    return DS_OK;
}

int32_t IDirectSoundBuffer::Stop() {
    if (IsPrimary())
        return DS_OK;
    EndRenderer();
    Ring->Halt();
    return DS_OK;
}

void IDirectSoundBuffer::EndRenderer() {
    Renderer.reset();
}

int32_t IDirectSoundBuffer::SetNotificationPositions(uint32_t count,
                                                     const DSBPOSITIONNOTIFY* positions) {
    return Ring->SetNotifications(count, positions);
}

void IDirectSoundBuffer::NotificationHandled() {
    Ring->NotificationHandled();
}
