// The ALSA output on ALSA's pulse plugin, routed into a private PulseAudio null sink: the frames
// heard are what the device reports, never a guess.
#include "AlsaSoundOutput.h"
#include "DirectSoundTypes.h"
#include "PulseNullSink.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(AlsaSoundOutputOnPulse, FramesOfAStreamNotYetStartedAreNotHeardUntilDrained) {
    PulseNullSink sink(44100, 2);
    if (!sink.Failure().empty())
        GTEST_SKIP() << sink.Failure();
    const WAVEFORMATEX stereo{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    std::unique_ptr<SoundOutput> output;
    ASSERT_EQ(SoundOutput::Open("alsa:default", stereo, output), DS_OK);
    // One period is below the start threshold: the stream is prepared but not running, and
    // the plugin cannot tell a delay yet.
    const uint32_t period = output->PeriodFrames();
    const std::vector<uint8_t> silence(size_t(period) * stereo.nBlockAlign, 0);
    ASSERT_EQ(output->Write(silence.data(), period), DS_OK);
    EXPECT_EQ(output->FramesHeard(), 0u);
    output->Drain();
    EXPECT_EQ(output->FramesHeard(), period);
}
