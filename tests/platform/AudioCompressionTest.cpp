// The audio-compression layer's own calls: tag details, the formats offered for a source, the
// chooser's attribute text and the rules of a stream.
#include "AudioCompression.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
    WAVEFORMATEX f{};
    f.wFormatTag = 1;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.nBlockAlign = uint16_t(channels * bits / 8);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    f.wBitsPerSample = bits;
    return f;
}

WaveFormatBlock BlockOf(const WAVEFORMATEX& f) {
    WaveFormatBlock block{};
    std::memcpy(block.data(), &f, sizeof f);
    return block;
}

std::vector<WaveFormatBlock> Offered(const WAVEFORMATEX& source) {
    std::vector<WaveFormatBlock> formats;
    EXPECT_EQ(AudioCompression::System().FormatEnumConvertible(source, formats), 0u);
    return formats;
}

const WaveFormatBlock* FindTag(const std::vector<WaveFormatBlock>& formats, uint16_t tag) {
    for (const auto& f : formats)
        if (ReadWaveFormat(f.data()).wFormatTag == tag)
            return &f;
    return nullptr;
}

TEST(AudioCompression, TagDetailsGiveTheLargestFormatSize) {
    const std::pair<uint16_t, uint32_t> sizes[] = {{1, 16},    {3, 18},    {6, 18},   {7, 18},
                                                   {0x11, 20}, {0x02, 50}, {0x31, 20}};
    for (const auto& [tag, size] : sizes) {
        ACMFORMATTAGDETAILS details;
        details.dwFormatTag = tag;
        ASSERT_EQ(AudioCompression::System().FormatTagDetails(details, 1), 0u) << tag;
        EXPECT_EQ(details.cbFormatSize, size) << tag;
        EXPECT_FALSE(details.szFormatTag.empty());
    }
    ACMFORMATTAGDETAILS mp3;
    mp3.dwFormatTag = 0x55;
    EXPECT_NE(AudioCompression::System().FormatTagDetails(mp3, 1), 0u);
}

TEST(AudioCompression, FormatDetailsReadLikeTheChooserShowsThem) {
    const std::pair<WAVEFORMATEX, const char*> cases[] = {
        {Pcm(44100, 2, 16), "44,100 Hz, 16 Bit, Stereo  172 kb/sec"},
        {Pcm(8000, 1, 8), "8,000 Hz, 8 Bit, Mono  8 kb/sec"},
        {Pcm(192000, 6, 24), "192,000 Hz, 24 Bit, 6 Channels  3375 kb/sec"}};
    for (const auto& [format, text] : cases) {
        std::string got;
        ASSERT_EQ(AudioCompression::System().FormatDetails(BlockOf(format).data(), got), 0u);
        EXPECT_EQ(got, text);
    }
    const auto mono = Offered(Pcm(8000, 1, 16));
    const auto gsm = FindTag(mono, 0x31);
    ASSERT_TRUE(gsm);
    std::string text;
    AudioCompression::System().FormatDetails(gsm->data(), text);
    EXPECT_EQ(text, "8,000 Hz, Mono  2 kb/sec"); // 1625 bytes a second
}

TEST(AudioCompression, OffersPcmAtTheCommonRatesAndTheSourcesOwn) {
    const auto formats = Offered(Pcm(12345, 1, 16));
    auto has = [&](const WAVEFORMATEX& f) {
        return std::any_of(formats.begin(), formats.end(), [&](const WaveFormatBlock& b) {
            return std::memcmp(b.data(), &f, sizeof f) == 0;
        });
    };
    for (const uint32_t rate : {8000u, 11025u, 22050u, 44100u, 48000u, 96000u, 12345u})
        for (const uint16_t bits : {8, 16, 24, 32})
            for (const uint16_t channels : {1, 2})
                EXPECT_TRUE(has(Pcm(rate, channels, bits))) << rate << " " << bits;
    EXPECT_FALSE(has(Pcm(12345, 3, 16)));
}

TEST(AudioCompression, CompressedFormatsKeepTheSourceRateAndChannels) {
    const auto stereo = Offered(Pcm(44100, 2, 16));
    EXPECT_EQ(FindTag(stereo, 0x31), nullptr); // GSM is mono only
    for (const uint16_t tag : {3, 6, 7, 0x11, 0x02}) {
        const auto* f = FindTag(stereo, tag);
        ASSERT_TRUE(f) << tag;
        EXPECT_EQ(ReadWaveFormat(f->data()).nSamplesPerSec, 44100u);
        EXPECT_EQ(ReadWaveFormat(f->data()).nChannels, 2u);
    }
    // IMA ADPCM at 44.1 kHz stereo: 2048-byte blocks of (2048 − 8) × 2 / 2 + 1 frames.
    const WAVEFORMATEX ima = ReadWaveFormat(FindTag(stereo, 0x11)->data());
    EXPECT_EQ(ima.nBlockAlign, 2048u);
    EXPECT_EQ(ima.wBitsPerSample, 4u);
    EXPECT_EQ(ima.cbSize, 2u);
    uint16_t perBlock = 0;
    std::memcpy(&perBlock, FindTag(stereo, 0x11)->data() + 18, 2);
    EXPECT_EQ(perBlock, 2041u);
    EXPECT_EQ(ima.nAvgBytesPerSec, 44100u * 2048 / 2041);
    // MS ADPCM at 11,025 Hz mono: 256-byte blocks of (256 − 7) × 2 + 2 frames, 7 coefficients.
    const auto mono11 = Offered(Pcm(11025, 1, 16));
    const auto* ms = FindTag(mono11, 0x02);
    ASSERT_TRUE(ms);
    uint16_t msFields[4] = {};
    std::memcpy(msFields, ms->data() + 18, 8);
    EXPECT_EQ(ReadWaveFormat(ms->data()).nBlockAlign, 256u);
    EXPECT_EQ(msFields[0], 500u);
    EXPECT_EQ(msFields[1], 7u);
    EXPECT_EQ(msFields[2], 256u);
    const auto mono8 = Offered(Pcm(8000, 1, 16));
    const auto* gsm = FindTag(mono8, 0x31);
    ASSERT_TRUE(gsm);
    EXPECT_EQ(ReadWaveFormat(gsm->data()).nBlockAlign, 65u);
}

TEST(AudioCompression, OnlySixteenBitPcmIsASource) {
    std::vector<WaveFormatBlock> formats;
    EXPECT_NE(AudioCompression::System().FormatEnumConvertible(Pcm(44100, 2, 8), formats), 0u);
    EXPECT_TRUE(formats.empty());
    HACMSTREAM stream = nullptr;
    EXPECT_EQ(AudioCompression::System().StreamOpen(stream, Pcm(44100, 2, 24),
                                                    BlockOf(Pcm(44100, 2, 16)).data(), 4),
              ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(stream, nullptr);
}

TEST(AudioCompression, AStreamRefusesWhatItCannotMake) {
    auto& acm = AudioCompression::System();
    HACMSTREAM stream = nullptr;
    const auto mono = Offered(Pcm(8000, 1, 16));
    const auto gsm = *FindTag(mono, 0x31);
    EXPECT_EQ(acm.StreamOpen(stream, Pcm(8000, 2, 16), gsm.data(), 4), ACMERR_NOTPOSSIBLE);
    EXPECT_EQ(acm.StreamOpen(stream, Pcm(11025, 1, 16), gsm.data(), 4), ACMERR_NOTPOSSIBLE);
    WAVEFORMATEX mp3 = Pcm(44100, 2, 16);
    mp3.wFormatTag = 0x55;
    EXPECT_EQ(acm.StreamOpen(stream, Pcm(44100, 2, 16), BlockOf(mp3).data(), 4),
              ACMERR_NOTPOSSIBLE);
}

TEST(AudioCompression, ConvertNeedsAPreparedHeader) {
    auto& acm = AudioCompression::System();
    HACMSTREAM stream = nullptr;
    ASSERT_EQ(acm.StreamOpen(stream, Pcm(8000, 1, 16), BlockOf(Pcm(8000, 1, 8)).data(), 4), 0u);
    uint32_t size = 0;
    ASSERT_EQ(acm.StreamSize(stream, 1600, size, 0), 0u);
    EXPECT_GE(size, 800u);
    std::vector<uint8_t> source(1600, 0), destination(size);
    ACMSTREAMHEADER header;
    header.pbSrc = source.data();
    header.cbSrcLength = 1600;
    header.pbDst = destination.data();
    header.cbDstLength = size;
    EXPECT_EQ(acm.StreamConvert(stream, header, 0x14), ACMERR_UNPREPARED);
    ASSERT_EQ(acm.StreamPrepareHeader(stream, header, 0), 0u);
    ASSERT_EQ(acm.StreamConvert(stream, header, 0x14), 0u);
    EXPECT_EQ(header.cbSrcLengthUsed, 1600u);
    EXPECT_EQ(header.cbDstLengthUsed, 800u);
    EXPECT_EQ(destination[0], 128); // silence in unsigned 8-bit
    ASSERT_EQ(acm.StreamUnprepareHeader(stream, header, 0), 0u);
    EXPECT_EQ(acm.StreamUnprepareHeader(stream, header, 0), ACMERR_UNPREPARED);
    EXPECT_EQ(acm.StreamClose(stream, 0), 0u);
}

} // namespace

namespace {

TEST(AudioCompression, EmptyConversionsTouchNoMemory) {
    // Copying, resampling and widening streams, each given nothing at all.
    const WAVEFORMATEX source = Pcm(44100, 2, 16);
    for (const WAVEFORMATEX& target : {Pcm(44100, 2, 16), Pcm(8000, 1, 16), Pcm(44100, 2, 24)}) {
        HACMSTREAM stream = nullptr;
        const WaveFormatBlock block = BlockOf(target);
        ASSERT_EQ(AudioCompression::System().StreamOpen(stream, source, block.data(), 0), 0u);
        for (const uint32_t flags : {0u, uint32_t(ACM_STREAMCONVERTF_END)}) {
            uint32_t sourceUsed = 1, destinationUsed = 1;
            EXPECT_TRUE(
                stream->Convert(nullptr, 0, nullptr, 0, flags, sourceUsed, destinationUsed));
            EXPECT_EQ(sourceUsed, 0u);
            EXPECT_EQ(destinationUsed, 0u);
        }
        AudioCompression::System().StreamClose(stream, 0);
    }
}

} // namespace
