#include "Event.h"
#include "IDirectSound8.h"
#include "NullSoundScope.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// 1000 Hz mono 16-bit: the null device hears 10 frames (20 bytes) per 10 ms step.
constexpr uint32_t RingBytes = 200;

WAVEFORMATEX MonoFormat(uint32_t rate = 1000) {
    return WAVEFORMATEX{WAVE_FORMAT_PCM, 1, rate, rate * 2, 2, 16, 0};
}

DSBUFFERDESC Description(const WAVEFORMATEX* format, uint32_t bytes,
                         uint32_t flags = DSBCAPS_CTRLPOSITIONNOTIFY) {
    DSBUFFERDESC description{};
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = flags;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = format;
    return description;
}

std::shared_ptr<IDirectSoundBuffer> MakeBuffer(const std::string& device = "null") {
    IDirectSound8 sound(device);
    const WAVEFORMATEX format = MonoFormat();
    const DSBUFFERDESC description = Description(&format, RingBytes);
    std::shared_ptr<IDirectSoundBuffer> buffer;
    EXPECT_EQ(sound.CreateSoundBuffer(&description, buffer, nullptr), DS_OK);
    return buffer;
}

std::vector<uint8_t> Pattern(uint32_t bytes) {
    std::vector<uint8_t> pattern(bytes);
    for (uint32_t i = 0; i < bytes; ++i)
        pattern[i] = static_cast<uint8_t>(i * 7 + 3);
    return pattern;
}

void Write(IDirectSoundBuffer& buffer, uint32_t offset, const std::vector<uint8_t>& bytes) {
    void* area1 = nullptr;
    void* area2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    ASSERT_EQ(buffer.Lock(offset, static_cast<uint32_t>(bytes.size()), &area1, &length1, &area2,
                          &length2, 0),
              DS_OK);
    std::memcpy(area1, bytes.data(), length1);
    if (length2 > 0)
        std::memcpy(area2, bytes.data() + length1, length2);
    ASSERT_EQ(buffer.Unlock(area1, length1, area2, length2), DS_OK);
}

std::vector<uint8_t> Cycled(const std::vector<uint8_t>& ring, uint32_t start, size_t bytes) {
    std::vector<uint8_t> out(bytes);
    for (size_t i = 0; i < bytes; ++i)
        out[i] = ring[(start + i) % ring.size()];
    return out;
}

uint32_t PlayCursor(const IDirectSoundBuffer& buffer) {
    uint32_t play = 0;
    uint32_t write = 0;
    EXPECT_EQ(buffer.GetCurrentPosition(&play, &write), DS_OK);
    return play;
}

} // namespace

TEST(IDirectSoundBuffer, CreateRefusesBadDescriptions) {
    IDirectSound8 sound("null");
    const WAVEFORMATEX pcm = MonoFormat();
    WAVEFORMATEX floatFormat = pcm;
    floatFormat.wFormatTag = 3;
    WAVEFORMATEX bits24{WAVE_FORMAT_PCM, 1, 1000, 3000, 3, 24, 0};
    WAVEFORMATEX nineChannels{WAVE_FORMAT_PCM, 9, 1000, 18000, 18, 16, 0};
    WAVEFORMATEX badAlign{WAVE_FORMAT_PCM, 2, 1000, 4000, 2, 16, 0};
    struct Case {
        const char* name;
        DSBUFFERDESC description;
        int32_t expected;
    };
    DSBUFFERDESC wrongSize = Description(&pcm, RingBytes);
    wrongSize.dwSize = 36 + 1;
    const std::vector<Case> cases = {
        {"pcm", Description(&pcm, RingBytes), DS_OK},
        {"wrong record size", wrongSize, DSERR_INVALIDPARAM},
        {"float samples", Description(&floatFormat, RingBytes), DSERR_BADFORMAT},
        {"24-bit samples", Description(&bits24, 300), DSERR_BADFORMAT},
        {"nine channels", Description(&nineChannels, 180), DSERR_BADFORMAT},
        {"block align", Description(&badAlign, 200), DSERR_BADFORMAT},
        {"no format", Description(nullptr, RingBytes), DSERR_BADFORMAT},
        {"too small", Description(&pcm, 2), DSERR_INVALIDPARAM},
        {"half a frame", Description(&pcm, 201), DSERR_INVALIDPARAM},
        {"primary with bytes", Description(nullptr, 8, DSBCAPS_PRIMARYBUFFER), DSERR_INVALIDPARAM},
        {"primary", Description(nullptr, 0, DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D), DS_OK},
    };
    for (const Case& c : cases) {
        std::shared_ptr<IDirectSoundBuffer> buffer;
        EXPECT_EQ(sound.CreateSoundBuffer(&c.description, buffer, nullptr), c.expected) << c.name;
        EXPECT_EQ(buffer != nullptr, c.expected == DS_OK) << c.name;
    }
    std::shared_ptr<IDirectSoundBuffer> buffer;
    int outer = 0;
    EXPECT_EQ(sound.CreateSoundBuffer(&cases[0].description, buffer, &outer), DSERR_NOAGGREGATION);
}

TEST(IDirectSoundBuffer, ExtensibleFormatWithPcmSubFormatIsAccepted) {
    IDirectSound8 sound("null");
    WAVEFORMATEXTENSIBLE format{};
    format.Format = WAVEFORMATEX{WAVE_FORMAT_EXTENSIBLE, 2, 44100, 176400, 4, 16, 22};
    format.wValidBitsPerSample = 16;
    format.dwChannelMask = 3;
    format.SubFormat = KSDATAFORMAT_SUBTYPE_PCM;
    DSBUFFERDESC description = Description(&format.Format, 176448);
    std::shared_ptr<IDirectSoundBuffer> buffer;
    EXPECT_EQ(sound.CreateSoundBuffer(&description, buffer, nullptr), DS_OK);
    format.SubFormat.Data1 = 3;
    EXPECT_EQ(sound.CreateSoundBuffer(&description, buffer, nullptr), DSERR_BADFORMAT);
}

TEST(IDirectSoundBuffer, LockGivesTwoAreasWhenItWrapsAndUnlockStoresThem) {
    auto buffer = MakeBuffer();
    const std::vector<uint8_t> bytes = Pattern(RingBytes);
    Write(*buffer, 0, bytes);
    void* area1 = nullptr;
    void* area2 = nullptr;
    uint32_t length1 = 0;
    uint32_t length2 = 0;
    ASSERT_EQ(buffer->Lock(150, 100, &area1, &length1, &area2, &length2, 0), DS_OK);
    EXPECT_EQ(length1, 50u);
    EXPECT_EQ(length2, 50u);
    EXPECT_EQ(std::memcmp(area1, bytes.data() + 150, 50), 0);
    EXPECT_EQ(std::memcmp(area2, bytes.data(), 50), 0);
    EXPECT_EQ(buffer->Lock(0, 10, &area1, &length1, nullptr, nullptr, 0), DSERR_INVALIDCALL);
    std::memset(area1, 0xAA, 50);
    std::memset(area2, 0xBB, 50);
    EXPECT_EQ(buffer->Unlock(area2, 50, area1, 50), DSERR_INVALIDPARAM);
    ASSERT_EQ(buffer->Unlock(area1, 50, area2, 50), DS_OK);

    ASSERT_EQ(buffer->Lock(0, 0, &area1, &length1, &area2, &length2, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(length1, RingBytes);
    EXPECT_EQ(length2, 0u);
    std::vector<uint8_t> expected = bytes;
    std::memset(expected.data() + 150, 0xAA, 50);
    std::memset(expected.data(), 0xBB, 50);
    EXPECT_EQ(std::memcmp(area1, expected.data(), RingBytes), 0);
    ASSERT_EQ(buffer->Unlock(area1, length1, nullptr, 0), DS_OK);

    // Stopped, the write cursor is the play cursor.
    ASSERT_EQ(buffer->SetCurrentPosition(60), DS_OK);
    ASSERT_EQ(buffer->Lock(0, 20, &area1, &length1, &area2, &length2, DSBLOCK_FROMWRITECURSOR),
              DS_OK);
    EXPECT_EQ(length1, 20u);
    EXPECT_EQ(std::memcmp(area1, expected.data() + 60, 20), 0);
    ASSERT_EQ(buffer->Unlock(area1, length1, nullptr, 0), DS_OK);

    struct Bad {
        uint32_t offset;
        uint32_t bytes;
    };
    for (const Bad bad : {Bad{RingBytes, 2}, Bad{0, 0}, Bad{0, RingBytes + 2}})
        EXPECT_EQ(buffer->Lock(bad.offset, bad.bytes, &area1, &length1, &area2, &length2, 0),
                  DSERR_INVALIDPARAM)
            << bad.offset << " " << bad.bytes;
}

TEST(IDirectSoundBuffer, LoopingPlayRendersTheRingRoundAndRound) {
    NullSoundScope scope;
    auto buffer = MakeBuffer();
    const std::vector<uint8_t> ring = Pattern(RingBytes);
    Write(*buffer, 0, ring);
    ASSERT_EQ(buffer->SetCurrentPosition(60), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    uint32_t status = 0;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    for (uint32_t step = 1; step <= 25; ++step) {
        NullSoundScope::StepClock();
        uint32_t play = 0;
        uint32_t write = 0;
        ASSERT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
        EXPECT_EQ(play, (60 + step * 20) % RingBytes) << step;
        EXPECT_EQ(write, (play + 20) % RingBytes) << step;
    }
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(NullSoundOutput::Captured(), Cycled(ring, 60, 25 * 20));
    EXPECT_EQ(PlayCursor(*buffer), (60 + 25 * 20) % RingBytes);
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
}

TEST(IDirectSoundBuffer, PlayWithoutLoopingStopsAtTheEndAndSignalsPositions) {
    NullSoundScope scope;
    auto buffer = MakeBuffer();
    const std::vector<uint8_t> ring = Pattern(RingBytes);
    Write(*buffer, 0, ring);
    Event atHalf(false), atLast(false), stopped(false);
    const DSBPOSITIONNOTIFY positions[] = {
        {100, &atHalf}, {RingBytes - 1, &atLast}, {DSBPN_OFFSETSTOP, &stopped}};
    std::shared_ptr<IDirectSoundNotify> notify;
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, notify), DS_OK);
    ASSERT_EQ(notify->SetNotificationPositions(3, positions), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(notify->SetNotificationPositions(3, positions), DSERR_INVALIDCALL);
    NullSoundScope::StepClock(4);
    EXPECT_FALSE(atHalf.IsSet());
    NullSoundScope::StepClock();
    EXPECT_TRUE(atHalf.Wait(0));
    NullSoundScope::StepClock(4);
    EXPECT_FALSE(atLast.IsSet());
    EXPECT_FALSE(stopped.IsSet());
    NullSoundScope::StepClock();
    EXPECT_TRUE(atLast.Wait(0));
    EXPECT_TRUE(stopped.Wait(0));
    uint32_t status = 1;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    NullSoundScope::StepClock(3);
    EXPECT_EQ(NullSoundOutput::Captured(), ring);
    EXPECT_EQ(IDirectSoundNotify::Outstanding(), 3);
    for (int i = 0; i < 3; ++i)
        notify->NotificationHandled();
    EXPECT_EQ(IDirectSoundNotify::Outstanding(), 0);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_FALSE(stopped.IsSet()) << "stopping a stopped buffer signals nothing";
}

TEST(IDirectSoundBuffer, StopSignalsTheStopPositionAndKeepsTheCursor) {
    NullSoundScope scope;
    auto buffer = MakeBuffer();
    Event stopped(false), passed(false);
    const DSBPOSITIONNOTIFY positions[] = {{DSBPN_OFFSETSTOP, &stopped}, {0, &passed}};
    ASSERT_EQ(buffer->SetNotificationPositions(2, positions), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    NullSoundScope::StepClock(13);
    EXPECT_TRUE(passed.Wait(0)) << "the cursor wrapped through offset 0";
    EXPECT_FALSE(stopped.IsSet());
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_TRUE(stopped.Wait(0));
    EXPECT_EQ(PlayCursor(*buffer), 13 * 20 % RingBytes);
    EXPECT_EQ(IDirectSoundNotify::Outstanding(), 2);
    ASSERT_EQ(buffer->SetNotificationPositions(0, nullptr), DS_OK);
    EXPECT_EQ(IDirectSoundNotify::Outstanding(), 0);
}

TEST(IDirectSoundBuffer, NotificationPositionsAreChecked) {
    auto buffer = MakeBuffer();
    Event e(false);
    const DSBPOSITIONNOTIFY outside[] = {{RingBytes, &e}};
    const DSBPOSITIONNOTIFY noEvent[] = {{0, nullptr}};
    EXPECT_EQ(buffer->SetNotificationPositions(1, outside), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetNotificationPositions(1, noEvent), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetNotificationPositions(1, nullptr), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetCurrentPosition(RingBytes), DSERR_INVALIDPARAM);
}

TEST(IDirectSoundBuffer, InterfacesAndPrimaryBuffer) {
    IDirectSound8 sound("null");
    const WAVEFORMATEX format = MonoFormat();
    const DSBUFFERDESC plain = Description(&format, RingBytes, 0);
    const DSBUFFERDESC primary = Description(nullptr, 0, DSBCAPS_PRIMARYBUFFER);
    std::shared_ptr<IDirectSoundBuffer> withoutNotify, primaryBuffer;
    ASSERT_EQ(sound.CreateSoundBuffer(&plain, withoutNotify, nullptr), DS_OK);
    ASSERT_EQ(sound.CreateSoundBuffer(&primary, primaryBuffer, nullptr), DS_OK);
    std::shared_ptr<IDirectSoundNotify> notify;
    EXPECT_EQ(withoutNotify->QueryInterface(IID_IDirectSoundNotify, notify), E_NOINTERFACE);
    EXPECT_EQ(primaryBuffer->QueryInterface(IID_IDirectSoundNotify, notify), E_NOINTERFACE);
    EXPECT_EQ(MakeBuffer()->QueryInterface(GUID_NULL, notify), E_NOINTERFACE);
    EXPECT_EQ(notify, nullptr);
    void* area = nullptr;
    uint32_t length = 0;
    EXPECT_EQ(primaryBuffer->Lock(0, 4, &area, &length, nullptr, nullptr, 0),
              DSERR_PRIOLEVELNEEDED);
    EXPECT_EQ(primaryBuffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(sound.SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(sound.SetCooperativeLevel(nullptr, 0), DSERR_INVALIDPARAM);
}

TEST(IDirectSoundBuffer, DuplicateSharesTheSamples) {
    IDirectSound8 sound("null");
    auto original = MakeBuffer();
    std::shared_ptr<IDirectSoundBuffer> duplicate;
    ASSERT_EQ(sound.DuplicateSoundBuffer(original, duplicate), DS_OK);
    const std::vector<uint8_t> ring = Pattern(RingBytes);
    Write(*original, 0, ring);
    void* area = nullptr;
    uint32_t length = 0;
    ASSERT_EQ(duplicate->Lock(0, RingBytes, &area, &length, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(std::memcmp(area, ring.data(), RingBytes), 0);
    EXPECT_EQ(duplicate->Unlock(area, length, nullptr, 0), DS_OK);
}

TEST(IDirectSoundBuffer, MissingSoundDeviceFailsPlayWithNoDriver) {
    auto buffer = MakeBuffer("alsa:sondrix-no-such-device");
    EXPECT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DSERR_NODRIVER);
    uint32_t status = 1;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(buffer->Stop(), DS_OK);
    auto unknown = MakeBuffer("speakers");
    EXPECT_EQ(unknown->Play(0, 0, 0), DSERR_NODRIVER);
}

TEST(IDirectSoundBuffer, DeviceCreationTakesTheConfiguredOutput) {
    const char* saved = std::getenv("SONDRIX_AUDIO");
    const std::string restore = saved ? saved : "";
    setenv("SONDRIX_AUDIO", "null", 1);
    std::shared_ptr<IDirectSound8> sound;
    ASSERT_EQ(DirectSoundCreate8(nullptr, sound, nullptr), DS_OK);
    EXPECT_EQ(sound->DeviceName(), "null");
    if (saved)
        setenv("SONDRIX_AUDIO", restore.c_str(), 1);
    else
        unsetenv("SONDRIX_AUDIO");
    const GUID other{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(DirectSoundCreate8(&other, sound, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(sound, nullptr);
}

TEST(IDirectSoundBuffer, PlaysThroughAlsaNullPcmAndStops) {
    auto buffer = MakeBuffer("alsa:null");
    Event stopped(false);
    const DSBPOSITIONNOTIFY positions[] = {{DSBPN_OFFSETSTOP, &stopped}};
    ASSERT_EQ(buffer->SetNotificationPositions(1, positions), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    uint32_t status = 0;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_TRUE(status & DSBSTATUS_PLAYING);
    uint32_t play = RingBytes;
    uint32_t write = RingBytes;
    EXPECT_EQ(buffer->GetCurrentPosition(&play, &write), DS_OK);
    EXPECT_LT(play, RingBytes);
    EXPECT_LT(write, RingBytes);
    EXPECT_EQ(buffer->Stop(), DS_OK);
    EXPECT_TRUE(stopped.Wait(0));
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    ASSERT_EQ(buffer->SetNotificationPositions(0, nullptr), DS_OK);
}

TEST(IDirectSoundBuffer, PlayEndDrainsUpToItAndStopsByItself) {
    struct EndCase {
        const char* name;
        bool setWhileStopped;
        uint64_t end;
    };
    // 10 steps a lap: an end inside the first lap, one three laps on (off a step), and none yet.
    for (const EndCase c :
         {EndCase{"in the first lap", true, 130},
          EndCase{"three laps on", false, 3 * RingBytes + 50}, EndCase{"at once", true, 0}}) {
        NullSoundScope scope;
        auto buffer = MakeBuffer();
        const std::vector<uint8_t> ring = Pattern(RingBytes);
        Write(*buffer, 0, ring);
        Event stopped(false);
        const DSBPOSITIONNOTIFY positions[] = {{DSBPN_OFFSETSTOP, &stopped}};
        std::shared_ptr<IDirectSoundNotify> notify;
        ASSERT_EQ(buffer->QueryInterface(IID_IDirectSoundNotify, notify), DS_OK);
        ASSERT_EQ(notify->SetNotificationPositions(1, positions), DS_OK);
        if (c.setWhileStopped)
            ASSERT_EQ(buffer->SetPlayEnd(c.end), DS_OK);
        ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
        if (!c.setWhileStopped)
            ASSERT_EQ(buffer->SetPlayEnd(c.end), DS_OK);
        uint64_t played = 0;
        for (int step = 0; step < 60 && !stopped.IsSet(); ++step) {
            NullSoundScope::StepClock();
            ASSERT_EQ(buffer->GetPlayedBytes(&played), DS_OK);
            EXPECT_LE(played, c.end) << c.name;
        }
        EXPECT_TRUE(stopped.IsSet()) << c.name;
        EXPECT_EQ(NullSoundOutput::Captured(), Cycled(ring, 0, c.end)) << c.name;
        ASSERT_EQ(buffer->GetPlayedBytes(&played), DS_OK);
        EXPECT_EQ(played, c.end) << c.name << ": the count of the ended play";
        EXPECT_EQ(PlayCursor(*buffer), c.end % RingBytes) << c.name;
        notify->NotificationHandled();
    }
}

TEST(IDirectSoundBuffer, PlayedBytesCountEveryLapAndRestartWithThePlay) {
    NullSoundScope scope;
    auto buffer = MakeBuffer();
    ASSERT_EQ(buffer->SetCurrentPosition(60), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    NullSoundScope::StepClock(37);
    uint64_t played = 0;
    ASSERT_EQ(buffer->GetPlayedBytes(&played), DS_OK);
    EXPECT_EQ(played, 37u * 20);
    EXPECT_EQ(PlayCursor(*buffer), (60 + 37 * 20) % RingBytes);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    ASSERT_EQ(buffer->GetPlayedBytes(&played), DS_OK);
    EXPECT_EQ(played, 37u * 20) << "kept once stopped";
    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    ASSERT_EQ(buffer->GetPlayedBytes(&played), DS_OK);
    EXPECT_EQ(played, 0u);
}

TEST(IDirectSoundBuffer, NoThreeDimensionalSoundOrPropertySets) {
    auto buffer = MakeBuffer();
    std::shared_ptr<IDirectSound3DBuffer> buffer3D;
    std::shared_ptr<IDirectSound3DListener> listener3D;
    std::shared_ptr<IKsPropertySet> propertySet;
    EXPECT_EQ(buffer->QueryInterface(IID_IDirectSound3DBuffer, buffer3D), E_NOINTERFACE);
    EXPECT_EQ(buffer->QueryInterface(IID_IDirectSound3DListener, listener3D), E_NOINTERFACE);
    EXPECT_EQ(buffer->QueryInterface(IID_IKsPropertySet, propertySet), E_NOINTERFACE);
    EXPECT_EQ(buffer3D, nullptr);
    EXPECT_EQ(listener3D, nullptr);
    EXPECT_EQ(propertySet, nullptr);
}
