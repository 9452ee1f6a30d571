#include "AlsaSoundOutput.h"
#include "DirectSoundTypes.h"
#include "ISoundOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

const WAVEFORMATEX Stereo{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};

class SoundOutputEnvironment : public testing::Test {
protected:
    void SetUp() override {
        const char* value = std::getenv("SONDRIX_AUDIO");
        Saved = value ? value : "";
        HadValue = value != nullptr;
    }
    void TearDown() override {
        if (HadValue)
            setenv("SONDRIX_AUDIO", Saved.c_str(), 1);
        else
            unsetenv("SONDRIX_AUDIO");
    }
    std::string Saved;
    bool HadValue = false;
};

} // namespace

TEST_F(SoundOutputEnvironment, ConfiguredDeviceFollowsTheVariable) {
    struct Case {
        const char* value;
        const char* device;
    };
    for (const Case c : {Case{"null", "null"}, Case{"alsa:hw:1,0", "alsa:hw:1,0"},
                         Case{"alsa:", "alsa:default"}, Case{"", "alsa:default"}}) {
        setenv("SONDRIX_AUDIO", c.value, 1);
        EXPECT_EQ(ISoundOutput::ConfiguredDevice(), c.device) << c.value;
    }
    unsetenv("SONDRIX_AUDIO");
    EXPECT_EQ(ISoundOutput::ConfiguredDevice(), "alsa:default");
}

TEST(AlsaSoundOutput, UnknownDeviceIsNoDriver) {
    std::unique_ptr<ISoundOutput> output;
    std::string reason;
    EXPECT_EQ(ISoundOutput::Open("alsa:sondrix-no-such-device", Stereo, output, &reason),
              DSERR_NODRIVER);
    EXPECT_EQ(output, nullptr);
    EXPECT_EQ(reason, "No sound output: ALSA could not open device \"sondrix-no-such-device\" "
                      "(No such file or directory)");
    EXPECT_EQ(ISoundOutput::Open("speakers", Stereo, output, &reason), DSERR_NODRIVER);
    EXPECT_EQ(reason, "No sound output: \"speakers\" names no sound device");
}

// ALSA's own "null" PCM takes the whole path (open, parameters, writes, delay, close) but has no
// clock, so only the calls and their bookkeeping are checked here.
TEST(AlsaSoundOutput, NullPcmOpensWritesAndCloses) {
    std::unique_ptr<ISoundOutput> output;
    ASSERT_EQ(ISoundOutput::Open("alsa:null", Stereo, output), DS_OK);
    auto* alsa = dynamic_cast<AlsaSoundOutput*>(output.get());
    ASSERT_NE(alsa, nullptr);
    const uint32_t period = output->PeriodFrames();
    ASSERT_GT(period, 0u);
    ASSERT_GE(alsa->BufferFrames(), period);
    std::vector<uint8_t> silence(static_cast<size_t>(period) * Stereo.nBlockAlign);
    uint64_t lastHeard = 0;
    uint64_t written = 0;
    // Stay within ALSA's buffer so the pacing never has to wait.
    while (written + period <= alsa->BufferFrames()) {
        ASSERT_EQ(output->Write(silence.data(), period), DS_OK);
        written += period;
        const uint64_t heard = output->FramesHeard();
        EXPECT_GE(heard, lastHeard);
        EXPECT_LE(heard, written);
        lastHeard = heard;
    }
    EXPECT_GT(written, 0u);
    output->Interrupt();
    EXPECT_EQ(output->Write(silence.data(), period), DS_OK) << "returns at once after Interrupt";
    output->Drain();
    EXPECT_EQ(output->Underruns(), 0u);
    output.reset();
}

TEST(AlsaSoundOutput, WritesToADeviceWithoutClockAreHeldToRealTime) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_ptr<ISoundOutput> output;
    ASSERT_EQ(ISoundOutput::Open("alsa:null", Stereo, output), DS_OK);
    auto* alsa = dynamic_cast<AlsaSoundOutput*>(output.get());
    ASSERT_NE(alsa, nullptr);
    // A tenth of a second past ALSA's buffer: the writes cannot all return sooner than that.
    const uint32_t excess = Stereo.nSamplesPerSec / 10;
    const uint32_t frames = alsa->BufferFrames() + excess;
    std::vector<uint8_t> silence(static_cast<size_t>(output->PeriodFrames()) * Stereo.nBlockAlign);
    for (uint32_t done = 0; done < frames;) {
        const uint32_t part = std::min(output->PeriodFrames(), frames - done);
        ASSERT_EQ(output->Write(silence.data(), part), DS_OK);
        done += part;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const uint64_t written = frames;
    const auto floor = std::chrono::nanoseconds((written - alsa->BufferFrames()) * 1000000000ULL /
                                                Stereo.nSamplesPerSec);
    EXPECT_GE(elapsed, floor);
}
