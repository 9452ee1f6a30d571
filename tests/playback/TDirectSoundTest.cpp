#include "TDirectSound.h"
#include "DirectSoundList.h"
#include "EDirectSoundError.h"
#include "TDirectSoundBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

DSBUFFERDESC SecondaryDescription(const WAVEFORMATEX& format, uint32_t flags = 0) {
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = flags;
    description.dwBufferBytes = 4000;
    description.lpwfxFormat = &format;
    return description;
}

const WAVEFORMATEX Stereo{WAVE_FORMAT_PCM, 2, 8000, 32000, 4, 16, 0};

bool Listed(const TDirectSound* device) {
    const auto& list = DirectSoundList();
    return std::find(list.begin(), list.end(), device) != list.end();
}

} // namespace

TEST(TDirectSound, DeviceIsListedWithItsPrimaryBufferWhileItLives) {
    auto* device = new TDirectSound(nullptr, 0);
    EXPECT_TRUE(Listed(device));
    ASSERT_NE(device->PrimaryBuffer, nullptr);
    ASSERT_EQ(device->Buffers.size(), 1u);
    EXPECT_EQ(device->Buffers[0], device->PrimaryBuffer);
    EXPECT_TRUE(device->PrimaryBuffer->SoundBuffer->IsPrimary());
    EXPECT_EQ(device->PrimaryBuffer->Owner, device);
    delete device;
    EXPECT_FALSE(Listed(device));
}

TEST(TDirectSound, RegisteringTwiceKeepsOneEntryAndNullChangesNothing) {
    TDirectSound device(nullptr, 0);
    auto* buffer = new TDirectSoundBuffer(device, SecondaryDescription(Stereo));
    ASSERT_EQ(device.Buffers.size(), 2u);
    device.RegisterBuffer(buffer, false);
    EXPECT_EQ(device.Buffers.size(), 2u);
    device.RegisterBuffer(nullptr, false);
    device.RegisterBuffer(nullptr, true);
    EXPECT_EQ(device.Buffers.size(), 2u);
    delete buffer;
    ASSERT_EQ(device.Buffers.size(), 1u) << "a freed buffer leaves the list";
    EXPECT_EQ(device.Buffers[0], device.PrimaryBuffer);
}

TEST(TDirectSound, FreeingTheDeviceFreesTheBuffersStillRegistered) {
    // The leak checker of the sanitiser build fails this test if any buffer survives.
    auto* device = new TDirectSound(nullptr, 0);
    auto* first = new TDirectSoundBuffer(*device, SecondaryDescription(Stereo));
    TDirectSoundBuffer* duplicate = TDirectSoundBuffer::CreateDuplicate(*first);
    EXPECT_EQ(duplicate->Owner, device);
    EXPECT_EQ(device->Buffers.size(), 3u);
    const uint32_t offsets[] = {100};
    auto* notified =
        new TDirectSoundBuffer(*device, SecondaryDescription(Stereo, DSBCAPS_CTRLPOSITIONNOTIFY));
    notified->SetNotifications(1, offsets);
    EXPECT_EQ(device->Buffers.size(), 4u);
    delete device;
}

TEST(TDirectSound, BadBufferDescriptionRaisesWithTheCode) {
    TDirectSound device(nullptr, 0);
    WAVEFORMATEX floatFormat = Stereo;
    floatFormat.wFormatTag = 3;
    try {
        TDirectSoundBuffer buffer(device, SecondaryDescription(floatFormat));
        ADD_FAILURE() << "no exception";
    } catch (const EDirectSoundError& error) {
        EXPECT_EQ(error.Code, DSERR_BADFORMAT);
    }
    EXPECT_EQ(device.Buffers.size(), 1u);
}

TEST(TDirectSound, CooperativeLevelIsChecked) {
    TDirectSound device(nullptr, 0);
    EXPECT_NO_THROW(device.SetCooperativeLevel(nullptr, DSSCL_NORMAL));
    EXPECT_THROW(device.SetCooperativeLevel(nullptr, 9), EDirectSoundError);
}
