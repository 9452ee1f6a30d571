#include "TDirectSoundBuffer.h"
#include "EDirectSoundError.h"
#include "EDirectSoundWrapperError.h"
#include "NullSoundScope.h"
#include "TDirectSound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// 8000 Hz stereo: 10 ms is 320 bytes; the ring holds 12.5 steps.
const WAVEFORMATEX Stereo{WAVE_FORMAT_PCM, 2, 8000, 32000, 4, 16, 0};
constexpr uint32_t RingBytes = 4000;

DSBUFFERDESC Description(uint32_t flags = DSBCAPS_CTRLPOSITIONNOTIFY) {
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = flags;
    description.dwBufferBytes = RingBytes;
    description.lpwfxFormat = &Stereo;
    return description;
}

struct Delivery {
    int32_t index;
    bool onMainThread;
    int generation;
};

} // namespace

TEST(TDirectSoundBuffer, SixtyThreePositionsAreTheLimit) {
    TDirectSound device(nullptr, 0);
    TDirectSoundBuffer buffer(device, Description());
    std::vector<uint32_t> offsets(64);
    for (uint32_t i = 0; i < offsets.size(); ++i)
        offsets[i] = i * 40;
    EXPECT_NO_THROW(buffer.SetNotifications(63, offsets.data()));
    try {
        buffer.SetNotifications(64, offsets.data());
        ADD_FAILURE() << "64 positions accepted";
    } catch (const EDirectSoundWrapperError& error) {
        EXPECT_EQ(std::string(error.what()), "Notification positions exceed maximum of 64");
    }
    EXPECT_EQ(buffer.NotifyThread, nullptr);
}

TEST(TDirectSoundBuffer, RefusedPositionsLeaveNoThread) {
    TDirectSound device(nullptr, 0);
    TDirectSoundBuffer buffer(device, Description());
    const uint32_t outside[] = {RingBytes};
    try {
        buffer.SetNotifications(1, outside);
        ADD_FAILURE() << "offset outside the ring accepted";
    } catch (const EDirectSoundError& error) {
        EXPECT_EQ(error.Code, DSERR_INVALIDPARAM);
    }
    EXPECT_EQ(buffer.NotifyThread, nullptr);
    TDirectSoundBuffer plain(device, Description(0));
    const uint32_t inside[] = {0};
    try {
        plain.SetNotifications(1, inside);
        ADD_FAILURE() << "a buffer without notifications accepted positions";
    } catch (const EDirectSoundError& error) {
        EXPECT_EQ(error.Code, DSERR_CONTROLUNAVAIL);
    }
}

TEST(TDirectSoundBuffer, PositionsAreDeliveredOnTheMainThreadInOrder) {
    NullSoundScope scope;
    TDirectSound device(nullptr, 0);
    TDirectSoundBuffer buffer(device, Description());
    std::vector<Delivery> deliveries;
    const auto main = std::this_thread::get_id();
    buffer.OnNotify = [&](TDirectSoundBuffer* sender, int32_t index) {
        EXPECT_EQ(sender, &buffer);
        deliveries.push_back({index, std::this_thread::get_id() == main, 0});
    };
    const uint32_t offsets[] = {1000, 2000, 3000, DSBPN_OFFSETSTOP};
    buffer.SetNotifications(4, offsets);
    buffer.Play(DSBPLAY_LOOPING);
    NullSoundScope::Advance(25); // 8000 bytes: two rounds of the ring
    buffer.Stop();
    NullSoundScope::Settle();
    std::vector<int32_t> indexes;
    for (const Delivery& d : deliveries) {
        indexes.push_back(d.index);
        EXPECT_TRUE(d.onMainThread);
    }
    EXPECT_EQ(indexes, (std::vector<int32_t>{0, 1, 2, 0, 1, 2, 3}));
    EXPECT_EQ(buffer.GetCurrentPosition(), 8000 % RingBytes);
}

TEST(TDirectSoundBuffer, ReplacedThreadDeliversNothingAfterTheNewOneStarted) {
    NullSoundScope scope;
    TDirectSound device(nullptr, 0);
    TDirectSoundBuffer buffer(device, Description());
    std::vector<Delivery> deliveries;
    int generation = 1;
    buffer.OnNotify = [&](TDirectSoundBuffer*, int32_t index) {
        deliveries.push_back({index, true, generation});
    };
    // The first thread reports 320 as index 2 and the stop as index 3; the second one reports
    // 640 as index 0.
    const uint32_t first[] = {3000, 3500, 320, DSBPN_OFFSETSTOP};
    buffer.SetNotifications(4, first);
    buffer.Play(DSBPLAY_LOOPING);
    NullSoundOutput::Clock().Advance(10'000'000); // signals index 2, not yet delivered
    buffer.Stop();                                // signals index 3
    const uint32_t second[] = {640};
    buffer.SetNotifications(1, second);
    generation = 2;
    buffer.Play(DSBPLAY_LOOPING);
    NullSoundScope::Advance(3);
    buffer.Stop();
    NullSoundScope::Settle();
    // A delivery already handed over is served while the old thread ends (if the thread got
    // that far); nothing of the old thread comes later.
    ASSERT_FALSE(deliveries.empty());
    const Delivery last = deliveries.back();
    EXPECT_EQ(last.index, 0);
    EXPECT_EQ(last.generation, 2);
    deliveries.pop_back();
    for (const Delivery& d : deliveries) {
        EXPECT_EQ(d.generation, 1);
        EXPECT_EQ(d.index, 2);
    }
    EXPECT_LE(deliveries.size(), 1u);
}

TEST(TDirectSoundBuffer, HandlerThatRaisesEndsTheDeliveries) {
    NullSoundScope scope;
    TDirectSound device(nullptr, 0);
    TDirectSoundBuffer buffer(device, Description());
    int calls = 0;
    buffer.OnNotify = [&](TDirectSoundBuffer*, int32_t) {
        ++calls;
        throw std::runtime_error("handler failed");
    };
    const uint32_t offsets[] = {320, 960};
    buffer.SetNotifications(2, offsets);
    buffer.Play(DSBPLAY_LOOPING);
    NullSoundScope::Advance(1);
    EXPECT_EQ(calls, 1);
    NullSoundOutput::Clock().Advance(20'000'000);
    EXPECT_EQ(IDirectSoundNotify::Outstanding(), 1) << "the second position was signalled";
    EXPECT_FALSE(MainThreadDispatcher::SyncEvent().Wait(200));
    EXPECT_FALSE(MainThreadDispatcher::CheckSynchronize());
    EXPECT_EQ(calls, 1);
    buffer.Stop();
}

TEST(TDirectSoundBuffer, HandlerMayFreeTheBufferItIsCalledFor) {
    NullSoundScope scope;
    TDirectSound device(nullptr, 0);
    auto* buffer = new TDirectSoundBuffer(device, Description());
    std::vector<int32_t> indexes;
    buffer->OnNotify = [&](TDirectSoundBuffer* sender, int32_t index) {
        indexes.push_back(index);
        delete sender; // waits for nothing: the thread ends once this returns
    };
    const uint32_t offsets[] = {320, 640, DSBPN_OFFSETSTOP};
    buffer->SetNotifications(3, offsets);
    buffer->Play(DSBPLAY_LOOPING);
    NullSoundScope::Advance(5);
    EXPECT_EQ(indexes, std::vector<int32_t>{0});
    EXPECT_TRUE(device.Buffers.size() == 1 && device.Buffers[0] == device.PrimaryBuffer);
    EXPECT_EQ(IDirectSoundNotify::Outstanding(), 0);
}

TEST(TDirectSoundBuffer, ThreeDimensionalAndPropertySetFieldsStayEmpty) {
    TDirectSound device(nullptr, 0);
    TDirectSoundBuffer buffer(device, Description());
    EXPECT_NE(buffer.Notify, nullptr);
    EXPECT_EQ(buffer.Buffer3D, nullptr);
    EXPECT_EQ(buffer.Listener3D, nullptr);
    EXPECT_EQ(buffer.PropertySet, nullptr);
    const TDirectSoundBuffer* primary = device.PrimaryBuffer;
    EXPECT_EQ(primary->Buffer3D, nullptr);
    EXPECT_EQ(primary->Listener3D, nullptr);
    EXPECT_EQ(primary->PropertySet, nullptr);
}

TEST(TDirectSoundBuffer, PlayWithoutASoundDeviceSaysWhichOutputFailedAndWhy) {
    const char* saved = std::getenv("SONDRIX_AUDIO");
    const std::string restore = saved ? saved : "";
    setenv("SONDRIX_AUDIO", "alsa:sondrix-no-such-device", 1);
    {
        TDirectSound device(nullptr, 0);
        TDirectSoundBuffer buffer(device, Description());
        try {
            buffer.Play(0);
            ADD_FAILURE() << "played on a missing device";
        } catch (const EDirectSoundError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "DirectSound call failed: 88780078\rNo sound driver is available for use\r"
                      "No sound output: ALSA could not open device \"sondrix-no-such-device\" "
                      "(No such file or directory)");
            EXPECT_EQ(error.Code, DSERR_NODRIVER);
        }
    }
    if (saved)
        setenv("SONDRIX_AUDIO", restore.c_str(), 1);
    else
        unsetenv("SONDRIX_AUDIO");
}
