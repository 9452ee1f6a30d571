#include "MP3writer.h"

#include "Exceptions.h"
#include "Mp3Probe.h"
#include "Signals.h"
#include "TMpegSettingsChoice.h"
#include "TestDocument.h"
#include "TestFiles.h"
#include "WavInspection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct Messages {
    std::vector<std::string> shown;
    TShowError Sink() {
        return [this](const std::string& text) { shown.push_back(text); };
    }
};

/// Feeds `samples` to a new writer chunk by chunk; returns Close's result.
bool WriteMp3(const std::string& path, const std::vector<int16_t>& samples,
              const TEncoderConfig& config, Messages& messages) {
    uint32_t chunk = 0;
    MP3writer writer(path, chunk, config, messages.Sink());
    if (!writer.IsOpen())
        return false;
    for (size_t at = 0; at < samples.size(); at += chunk) {
        const size_t count = std::min<size_t>(chunk, samples.size() - at);
        if (writer.Encode(samples.data() + at, int32_t(count * 2)) < 0)
            return false;
    }
    return writer.Close();
}

TMpegSettingsChoice Cbr(int32_t bitrateIndex) {
    TMpegSettingsChoice choice;
    choice.Bitrate = bitrateIndex;
    return choice;
}

int MpegVersionBits(uint32_t header) {
    return int(header >> 19 & 3);
}

class MP3writerTest : public testing::Test {
protected:
    void SetUp() override {
        if (!HaveProgram("ffmpeg") || !HaveProgram("ffprobe"))
            GTEST_SKIP() << "ffmpeg and ffprobe are needed as readers";
    }
    TempDir dir;
    Messages messages;
};

} // namespace

TEST_F(MP3writerTest, ConstantBitrateStereoToneKeepsItsLevel) {
    const std::string path = dir.File("cbr.mp3");
    const auto input = Harmonics(44100 * 3, 440, 44100, 2, 16000);
    ASSERT_TRUE(WriteMp3(path, input, Cbr(5).EncoderConfig(44100, 2), messages));
    EXPECT_TRUE(messages.shown.empty());

    const QJsonObject stream = ProbeStream(path);
    EXPECT_EQ(stream["codec_name"].toString(), "mp3");
    EXPECT_EQ(stream["bit_rate"].toString(), "128000");
    EXPECT_EQ(stream["channels"].toInt(), 2);
    EXPECT_EQ(stream["sample_rate"].toString(), "44100");
    EXPECT_EQ(MpegVersionBits(FirstFrameHeader(path)), 3) << "MPEG-1";
    EXPECT_NEAR(SteadyRmsDb(DecodeWithFfmpeg(path), 2, 44100), RmsDb(input), 0.5);
}

TEST_F(MP3writerTest, VbrHeaderGivesTheExactLength) {
    const std::string path = dir.File("vbr.mp3");
    const int32_t frames = 44100 * 2 + 777;
    const auto input = Harmonics(frames, 440, 44100, 2, 12000);
    TMpegSettingsChoice choice;
    choice.VbrMode = 1;
    choice.Bitrate = 13; // 32 kbps at the least
    choice.VbrQuality = 4;
    ASSERT_TRUE(WriteMp3(path, input, choice.EncoderConfig(44100, 2), messages));

    const auto decoded = DecodeWithFfmpeg(path);
    EXPECT_EQ(decoded.size(), input.size());
    EXPECT_NEAR(SteadyRmsDb(decoded, 2, 44100), RmsDb(input), 0.5);
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    const std::string firstFrame(bytes.begin(), bytes.begin() + 200);
    EXPECT_NE(firstFrame.find("Xing"), std::string::npos);
    EXPECT_NE(firstFrame.find("LAME"), std::string::npos);
}

TEST_F(MP3writerTest, WithoutVbrHeaderTheFileStartsWithAudio) {
    const std::string path = dir.File("plain.mp3");
    ASSERT_TRUE(WriteMp3(path, Harmonics(44100, 440, 44100, 2, 12000),
                         Cbr(5).EncoderConfig(44100, 2), messages));
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    const std::string head(bytes.begin(), bytes.begin() + 200);
    EXPECT_EQ(head.find("Xing"), std::string::npos);
    EXPECT_EQ(head.find("Info"), std::string::npos);
}

TEST_F(MP3writerTest, AverageBitrateMeetsItsTarget) {
    struct Case {
        int32_t target; // position in the high-rate list
        double kbps;
    } cases[] = {{3, 192}, {5, 128}};
    for (const Case& c : cases) {
        const std::string path = dir.File("abr" + std::to_string(c.target) + ".mp3");
        TMpegSettingsChoice choice;
        choice.VbrMode = 2;
        choice.Bitrate = 13;   // 32 kbps lowest
        choice.MaxBitrate = 0; // 320 kbps highest
        choice.AvgBitrate = c.target;
        ASSERT_TRUE(
            WriteMp3(path, LcgNoise(44100 * 4, 2, 9000), choice.EncoderConfig(44100, 2), messages));
        const double kbps = ProbeStream(path)["bit_rate"].toString().toDouble() / 1000;
        EXPECT_NEAR(kbps, c.kbps, c.kbps * 0.15) << c.kbps;
    }
}

TEST_F(MP3writerTest, AverageBitrateWithTheDefaultListsMeetsItsTarget) {
    // The first entry of every list (320) must not become the floor of the average.
    for (const auto& [target, kbps] : {std::pair{3, 192.0}, std::pair{5, 128.0}, {9, 64.0}}) {
        const std::string path = dir.File("abr" + std::to_string(target) + ".mp3");
        TMpegSettingsChoice choice;
        choice.VbrMode = 2;
        choice.AvgBitrate = target;
        ASSERT_TRUE(
            WriteMp3(path, LcgNoise(44100 * 4, 2, 9000), choice.EncoderConfig(44100, 2), messages));
        EXPECT_NEAR(ProbeStream(path)["bit_rate"].toString().toDouble() / 1000, kbps, kbps * 0.15);
    }
}

TEST_F(MP3writerTest, VbrQualityWithTheDefaultListsDecidesTheBitrate) {
    const auto input = Harmonics(44100 * 4, 440, 44100, 2, 9000);
    std::vector<double> kbps;
    for (const int32_t slider : {0, 4, 8}) {
        const std::string path = dir.File("vbr" + std::to_string(slider) + ".mp3");
        TMpegSettingsChoice choice;
        choice.VbrMode = 1;
        choice.VbrQuality = slider;
        ASSERT_TRUE(WriteMp3(path, input, choice.EncoderConfig(44100, 2), messages));
        kbps.push_back(ProbeStream(path)["bit_rate"].toString().toDouble() / 1000);
    }
    EXPECT_LT(kbps[0], 200) << "lowest quality";
    EXPECT_GT(kbps[1], kbps[0] * 1.1);
    EXPECT_GT(kbps[2], kbps[1] * 1.1);
}

TEST(MP3writerBitrates, EveryListCombinationEncodes) {
    // Every bitrate and maximum of the lists of each table, in both variable modes; the
    // encoder aborts the program when it takes a combination it cannot meet.
    const std::vector<int16_t> input(2 * 4608, 1000);
    for (const int32_t rate : {44100, 22050, 8000})
        for (const int32_t mode : {1, 2})
            for (int32_t low = 0; low < 14; ++low)
                for (int32_t high = 0; high < 14; ++high) {
                    TMpegSettingsChoice choice;
                    choice.VbrMode = mode;
                    choice.Bitrate = low;
                    choice.MaxBitrate = high;
                    choice.AvgBitrate = low;
                    const TEncoderConfig config = choice.EncoderConfig(rate, 2);
                    uint32_t chunk = 0, outputSize = 0;
                    TEncoderStream* stream = nullptr;
                    ASSERT_EQ(beInitStream(&config, &chunk, &outputSize, &stream), 0u)
                        << rate << " " << mode << " " << low << " " << high;
                    std::vector<uint8_t> output(outputSize);
                    uint32_t produced = 0;
                    for (size_t at = 0; at + chunk <= input.size(); at += chunk)
                        EXPECT_EQ(beEncodeChunk(stream, chunk, input.data() + at, output.data(),
                                                &produced),
                                  0u);
                    EXPECT_EQ(beDeinitStream(stream, output.data(), &produced), 0u);
                    beCloseStream(stream);
                }
}

TEST_F(MP3writerTest, MonoLowRateIsMpeg2) {
    const std::string path = dir.File("mono.mp3");
    ASSERT_TRUE(WriteMp3(path, Harmonics(22050 * 2, 440, 22050, 1, 12000),
                         Cbr(6).EncoderConfig(22050, 1), messages));
    const QJsonObject stream = ProbeStream(path);
    EXPECT_EQ(stream["channels"].toInt(), 1);
    EXPECT_EQ(stream["sample_rate"].toString(), "22050");
    EXPECT_EQ(stream["bit_rate"].toString(), "64000");
    EXPECT_EQ(MpegVersionBits(FirstFrameHeader(path)), 2) << "MPEG-2";
}

TEST_F(MP3writerTest, ChecksumClearsTheProtectionBit) {
    for (const bool crc : {false, true}) {
        const std::string path = dir.File(crc ? "crc.mp3" : "nocrc.mp3");
        TMpegSettingsChoice choice = Cbr(5);
        choice.Crc = crc;
        ASSERT_TRUE(WriteMp3(path, Harmonics(44100, 440, 44100, 2, 12000),
                             choice.EncoderConfig(44100, 2), messages));
        const uint32_t header = FirstFrameHeader(path);
        EXPECT_EQ(header >> 21, 0x7FFu) << "frame sync";
        EXPECT_EQ(header >> 16 & 1, crc ? 0u : 1u) << "protection bit, crc " << crc;
        EXPECT_EQ(ProbeStream(path)["channels"].toInt(), 2);
    }
}

TEST_F(MP3writerTest, RefusedConfigurationIsShownAndLeavesNoStream) {
    TEncoderConfig config = Cbr(0).EncoderConfig(44100, 2);
    config.Mode = 7;
    uint32_t chunk = 99;
    MP3writer writer(dir.File("refused.mp3"), chunk, config, messages.Sink());
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(writer.Result(), uint32_t(EncoderInvalidParameters));
    ASSERT_EQ(messages.shown, std::vector<std::string>{"Error opening encoding stream 2"});
    const std::vector<int16_t> samples(2304);
    EXPECT_EQ(writer.Encode(samples.data(), 4608), -1);
    EXPECT_FALSE(writer.Close());
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MP3writerTest, EncodingFailureIsShownWithItsCode) {
    uint32_t chunk = 0;
    MP3writer writer(dir.File("fail.mp3"), chunk, Cbr(5).EncoderConfig(44100, 2), messages.Sink());
    ASSERT_TRUE(writer.IsOpen());
    const std::vector<int16_t> samples(chunk * 2);
    EXPECT_GE(writer.Encode(samples.data(), int32_t(chunk * 2)), 0);
    EXPECT_EQ(writer.Encode(samples.data(), int32_t(samples.size() * 2)), -1);
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Data write error! 5"});
    EXPECT_FALSE(writer.Close());
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MP3writerTest, FullDiskWhileEncodingFails) {
    // Twenty seconds at 128 kbps overflow the file buffer, so a write fails before the end.
    EXPECT_FALSE(WriteMp3("/dev/full", Harmonics(44100 * 20, 440, 44100, 2, 12000),
                          Cbr(5).EncoderConfig(44100, 2), messages));
    EXPECT_EQ(messages.shown, std::vector<std::string>{
                                  "Data write error! 0\r\"/dev/full\": No space left on device"});
}

TEST_F(MP3writerTest, FullDiskAtTheEndIsNoSuccess) {
    // One second stays in the file buffer until the final flush and close.
    EXPECT_FALSE(WriteMp3("/dev/full", Harmonics(44100, 440, 44100, 2, 12000),
                          Cbr(5).EncoderConfig(44100, 2), messages));
    EXPECT_EQ(messages.shown, std::vector<std::string>{
                                  "Data write error! 0\r\"/dev/full\": No space left on device"});
}

TEST_F(MP3writerTest, MissingFolderRaisesOpenError) {
    uint32_t chunk = 0;
    EXPECT_THROW(MP3writer(dir.File("missing/x.mp3"), chunk, Cbr(5).EncoderConfig(44100, 2),
                           messages.Sink()),
                 EFOpenError);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MP3writerTest, EmptyInputGivesOnlyWhatTheEncoderFlushes) {
    const std::string path = dir.File("empty.mp3");
    ASSERT_TRUE(WriteMp3(path, {}, Cbr(5).EncoderConfig(44100, 2), messages));
    // One frame of 128 kbps at 44.1 kHz: 144 × 128000 / 44100 bytes, plus the padding bit.
    const uint32_t header = FirstFrameHeader(path);
    EXPECT_EQ(header >> 21, 0x7FFu);
    EXPECT_EQ(ReadWholeFile(path).size(), 417u + (header >> 9 & 1));
}

TEST_F(MP3writerTest, SameBytesAsTheLameCommandLine) {
    if (!HaveProgram("lame"))
        GTEST_SKIP() << "lame is the oracle";
    const auto input = LcgNoise(44100 * 2 + 1000, 2, 9000);
    const std::string wav = dir.File("in.wav");
    WriteSampleFile(wav, 2, 44100, input);
    struct Case {
        const char* what;
        TMpegSettingsChoice choice;
        std::vector<std::string> options;
    } cases[] = {
        {"CBR 128", Cbr(5), {"-t", "-b", "128"}},
        {"CBR 320 with checksum", {0, 0, 0, 0, 0, true}, {"-t", "-b", "320", "-p"}},
        {"CBR 320", {0, 0, 0, 0, 0, false}, {"-t", "-b", "320"}},
        {"CBR 128 with checksum", {5, 0, 0, 0, 0, true}, {"-t", "-b", "128", "-p"}},
        {"VBR quality 3 from 32 to 256",
         {13, 1, 1, 5, 0, false},
         {"-V", "3", "-b", "32", "-B", "256"}},
        {"ABR 160 from 32 to 320",
         {13, 0, 2, 0, 4, false},
         {"-t", "--abr", "160", "-b", "32", "-B", "320"}},
    };
    for (const Case& c : cases) {
        const std::string ours = dir.File("ours.mp3");
        const std::string theirs = dir.File("lame.mp3");
        ASSERT_TRUE(WriteMp3(ours, input, c.choice.EncoderConfig(44100, 2), messages)) << c.what;
        std::vector<std::string> command = {"lame", "--quiet",       "-m", "s", "-q",
                                            "5",    "--noreplaygain"};
        command.insert(command.end(), c.options.begin(), c.options.end());
        command.insert(command.end(), {wav, theirs});
        RunProgram(command);
        EXPECT_TRUE(ReadWholeFile(ours) == ReadWholeFile(theirs)) << c.what;
    }
}
