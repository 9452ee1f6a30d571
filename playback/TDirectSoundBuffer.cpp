#include "TDirectSoundBuffer.h"

#include "DSCheck.h"
#include "TDirectSound.h"

TDirectSoundBuffer::TDirectSoundBuffer(TDirectSound& owner)
    : Owner(&owner) {}

TDirectSoundBuffer::TDirectSoundBuffer(TDirectSound& owner, const DSBUFFERDESC& description)
    : Owner(&owner) {
    DSCheck(owner.DirectSound->CreateSoundBuffer(&description, SoundBuffer, nullptr));
    QueryInterfaces();
    owner.RegisterBuffer(this, false);
}

TDirectSoundBuffer* TDirectSoundBuffer::CreateDuplicate(const TDirectSoundBuffer& source) {
    std::unique_ptr<TDirectSoundBuffer> buffer(new TDirectSoundBuffer(*source.Owner));
    DSCheck(
        source.Owner->DirectSound->DuplicateSoundBuffer(source.SoundBuffer, buffer->SoundBuffer));
    buffer->QueryInterfaces();
    source.Owner->RegisterBuffer(buffer.get(), false);
    return buffer.release();
}

TDirectSoundBuffer::~TDirectSoundBuffer() {
    NotifyThread.reset();
    ReleaseInterfaces();
    if (Owner)
        Owner->RegisterBuffer(this, true);
    Owner = nullptr;
}

void TDirectSoundBuffer::QueryInterfaces() {
    // A buffer without an interface leaves its field empty: the results are not errors.
    Buffer3D.reset();
    SoundBuffer->QueryInterface(IID_IDirectSound3DBuffer, Buffer3D);
    Listener3D.reset();
    SoundBuffer->QueryInterface(IID_IDirectSound3DListener, Listener3D);
    Notify.reset();
    SoundBuffer->QueryInterface(IID_IDirectSoundNotify, Notify);
    PropertySet.reset();
    SoundBuffer->QueryInterface(IID_IKsPropertySet, PropertySet);
}

void TDirectSoundBuffer::ReleaseInterfaces() {
    Buffer3D.reset();
    Listener3D.reset();
    Notify.reset();
    PropertySet.reset();
    SoundBuffer.reset();
}

uint32_t TDirectSoundBuffer::GetCurrentPosition() {
    uint32_t play = 0;
    uint32_t write = 0;
    DSCheck(SoundBuffer->GetCurrentPosition(&play, &write));
    return play;
}

uint64_t TDirectSoundBuffer::GetPlayedBytes() {
    uint64_t bytes = 0;
    DSCheck(SoundBuffer->GetPlayedBytes(&bytes));
    return bytes;
}

void TDirectSoundBuffer::SetPlayEnd(uint64_t bytes) {
    DSCheck(SoundBuffer->SetPlayEnd(bytes));
}

void TDirectSoundBuffer::SetCurrentPosition(uint32_t offset) {
    DSCheck(SoundBuffer->SetCurrentPosition(offset));
}

void TDirectSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** area1, uint32_t* length1,
                              void** area2, uint32_t* length2, uint32_t flags) {
    DSCheck(SoundBuffer->Lock(offset, bytes, area1, length1, area2, length2, flags));
}

void TDirectSoundBuffer::Unlock(void* area1, uint32_t length1, void* area2, uint32_t length2) {
    DSCheck(SoundBuffer->Unlock(area1, length1, area2, length2));
}

void TDirectSoundBuffer::Play(uint32_t flags) {
    const int32_t result = SoundBuffer->Play(0, 0, flags);
    DSCheck(result, SoundBuffer->OutputFailure());
}

void TDirectSoundBuffer::Stop() {
    DSCheck(SoundBuffer->Stop());
}

void TDirectSoundBuffer::SetNotifications(uint32_t count, const uint32_t* offsets) {
    NotifyThread.reset();
    if (!Notify)
        DSCheck(DSERR_CONTROLUNAVAIL);
    NotifyThread = std::make_unique<TNotifyThread>(
        this, [this](TDirectSoundBuffer* sender, int32_t index) { NotifyHandler(sender, index); },
        Notify, count, offsets);
}

void TDirectSoundBuffer::NotifyHandler(TDirectSoundBuffer* sender, int32_t index) {
    // A copy, so that a handler that frees this buffer does not free itself while it runs.
    if (const TNotifyEvent handler = OnNotify)
        handler(sender, index);
}
