#include "TDirectSound.h"

#include "DSCheck.h"
#include "DirectSoundList.h"
#include "TDirectSoundBuffer.h"

#include <algorithm>

TDirectSound::TDirectSound(const GUID* device, uint32_t flags) {
    DSCheck(DirectSoundCreate8(device, DirectSound, nullptr));
    DirectSoundList().push_back(this);
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = flags | DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
    description.guid3DAlgorithm = GUID_NULL;
    try {
        PrimaryBuffer = new TDirectSoundBuffer(*this, description);
    } catch (...) {
        FreeBuffers();
        std::erase(DirectSoundList(), this);
        throw;
    }
}

TDirectSound::~TDirectSound() {
    FreeBuffers();
    DirectSound.reset();
    std::erase(DirectSoundList(), this);
}

void TDirectSound::FreeBuffers() {
    while (!Buffers.empty())
        delete Buffers.front();
    PrimaryBuffer = nullptr;
}

void TDirectSound::RegisterBuffer(TDirectSoundBuffer* buffer, bool remove) {
    if (!buffer)
        return;
    const auto found = std::find(Buffers.begin(), Buffers.end(), buffer);
    if (remove) {
        if (found != Buffers.end())
            Buffers.erase(found);
    } else if (found == Buffers.end()) {
        Buffers.push_back(buffer);
    }
}

void TDirectSound::SetCooperativeLevel(void* window, uint32_t level) {
    DSCheck(DirectSound->SetCooperativeLevel(window, level));
}
