#include "LameEnc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

TEncoderConfig Config(uint32_t rate, int32_t mode, uint32_t kbps) {
    TEncoderConfig config{};
    config.Kind = EncoderConfigKind;
    config.StructVersion = EncoderConfigVersion;
    config.StructSize = 331;
    config.SampleRate = rate;
    config.Mode = mode;
    config.Bitrate = kbps;
    config.MaxBitrate = kbps;
    config.Preset = EncoderPresetCbr;
    config.VbrMethod = EncoderVbrNone;
    config.Quality = 5;
    return config;
}

uint32_t Read32(const TEncoderConfig& config, size_t offset) {
    uint32_t value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(&config) + offset, 4);
    return value;
}

} // namespace

TEST(LameEnc, RecordFieldsSitAtTheirByteOffsets) {
    TEncoderConfig config{};
    config.Bitrate = 0x11223344;
    config.VbrAbrBps = 0x55667788;
    config.VbrMethod = -1;
    config.Quality = 0xABCD;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&config);
    EXPECT_EQ(Read32(config, 24), 0x11223344u);
    EXPECT_EQ(Read32(config, 76), 0x55667788u);
    EXPECT_EQ(Read32(config, 80), 0xFFFFFFFFu);
    EXPECT_EQ(bytes[92], 0xCD);
    EXPECT_EQ(bytes[93], 0xAB);
    EXPECT_EQ(sizeof(config), 331u);
}

TEST(LameEnc, ChunkSizeIsOneFrameOfEveryChannel) {
    struct Case {
        uint32_t rate;
        int32_t mode;
        uint32_t kbps;
        uint32_t samples;
    } cases[] = {{44100, EncoderStereo, 128, 2304},
                 {48000, EncoderMono, 64, 1152},
                 {22050, EncoderMono, 64, 576},
                 {22050, EncoderJointStereo, 64, 1152},
                 {8000, EncoderMono, 16, 576}};
    for (const Case& c : cases) {
        const TEncoderConfig config = Config(c.rate, c.mode, c.kbps);
        uint32_t samples = 0, bufferSize = 0;
        TEncoderStream* stream = nullptr;
        ASSERT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), EncoderSuccess) << c.rate;
        EXPECT_EQ(samples, c.samples) << c.rate;
        EXPECT_GE(bufferSize, 7200u + samples / 2) << c.rate;
        EXPECT_EQ(beCloseStream(stream), EncoderSuccess);
    }
}

TEST(LameEnc, RefusesForeignRecordsAndBadSettings) {
    struct Case {
        const char* what;
        void (*spoil)(TEncoderConfig&);
        uint32_t result;
    } cases[] = {
        {"kind", [](TEncoderConfig& c) { c.Kind = 0; }, EncoderInvalidFormat},
        {"version", [](TEncoderConfig& c) { c.StructVersion = 2; }, EncoderInvalidFormat},
        {"size", [](TEncoderConfig& c) { c.StructSize = 330; }, EncoderInvalidFormat},
        {"rate", [](TEncoderConfig& c) { c.SampleRate = 0; }, EncoderInvalidParameters},
        {"mode", [](TEncoderConfig& c) { c.Mode = 4; }, EncoderInvalidParameters},
        {"preset", [](TEncoderConfig& c) { c.Preset = 5; }, EncoderInvalidParameters},
    };
    for (const Case& c : cases) {
        TEncoderConfig config = Config(44100, EncoderStereo, 128);
        c.spoil(config);
        uint32_t samples = 0, bufferSize = 0;
        TEncoderStream* stream = reinterpret_cast<TEncoderStream*>(&config);
        EXPECT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), c.result) << c.what;
        EXPECT_EQ(stream, nullptr) << c.what;
    }
}

TEST(LameEnc, ChunkCallsCheckTheirSamples) {
    const TEncoderConfig config = Config(44100, EncoderStereo, 128);
    uint32_t samples = 0, bufferSize = 0, produced = 99;
    TEncoderStream* stream = nullptr;
    ASSERT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), EncoderSuccess);
    std::vector<int16_t> pcm(samples + 2);
    std::vector<uint8_t> output(bufferSize);
    EXPECT_EQ(beEncodeChunk(stream, samples + 2, pcm.data(), output.data(), &produced),
              EncoderBufferTooSmall);
    EXPECT_EQ(produced, 0u);
    EXPECT_EQ(beEncodeChunk(stream, 3, pcm.data(), output.data(), &produced),
              EncoderInvalidParameters);
    EXPECT_EQ(beEncodeChunk(stream, samples, pcm.data(), output.data(), &produced), EncoderSuccess);
    EXPECT_EQ(beEncodeChunk(nullptr, samples, pcm.data(), output.data(), &produced),
              EncoderInvalidHandle);
    EXPECT_EQ(beDeinitStream(nullptr, output.data(), &produced), EncoderInvalidHandle);
    EXPECT_EQ(beCloseStream(nullptr), EncoderInvalidHandle);
    EXPECT_EQ(beCloseStream(stream), EncoderSuccess);
}

TEST(LameEnc, HeaderFrameOnlyWhenAskedFor) {
    for (const bool header : {false, true}) {
        TEncoderConfig config = Config(44100, EncoderStereo, 128);
        config.WriteVbrHeader = header ? EncoderTrue : 0;
        uint32_t samples = 0, bufferSize = 0, produced = 0, total = 0;
        TEncoderStream* stream = nullptr;
        ASSERT_EQ(beInitStream(&config, &samples, &bufferSize, &stream), EncoderSuccess);
        std::vector<int16_t> pcm(samples, 1000);
        std::vector<uint8_t> output(bufferSize);
        for (int i = 0; i < 10; ++i) {
            ASSERT_EQ(beEncodeChunk(stream, samples, pcm.data(), output.data(), &produced), 0u);
            total += produced;
        }
        ASSERT_EQ(beDeinitStream(stream, output.data(), &produced), EncoderSuccess);
        total += produced;
        EXPECT_GT(total, 0u);
        ASSERT_EQ(beLameTagFrame(stream, output.data(), bufferSize, &produced), EncoderSuccess);
        // 128 kbps at 44.1 kHz: a frame is 417 or 418 bytes.
        if (header)
            EXPECT_GE(produced, 417u);
        else
            EXPECT_EQ(produced, 0u);
        EXPECT_EQ(beLameTagFrame(stream, output.data(), header ? 10 : 0, &produced),
                  header ? EncoderBufferTooSmall : EncoderSuccess);
        beCloseStream(stream);
    }
}
