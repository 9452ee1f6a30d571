#include "TMpegSettingsChoice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

/// The 32-bit little-endian value at `offset` of the record's bytes, signed.
int32_t At(const TEncoderConfig& config, size_t offset) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&config);
    return int32_t(uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 |
                   uint32_t(bytes[offset + 2]) << 16 | uint32_t(bytes[offset + 3]) << 24);
}

int32_t Quality(const TEncoderConfig& config) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&config);
    return bytes[92] | bytes[93] << 8;
}

/// Checks the named offsets and that every other 32-bit field holds `others`' value or 0.
void ExpectFields(const TEncoderConfig& config, const std::map<size_t, int32_t>& fields,
                  const std::string& what) {
    for (size_t offset = 0; offset < 92; offset += 4) {
        const auto it = fields.find(offset);
        EXPECT_EQ(At(config, offset), it == fields.end() ? 0 : it->second)
            << what << ", offset " << offset;
    }
    EXPECT_EQ(Quality(config), 5) << what;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&config);
    for (size_t offset = 94; offset < 331; ++offset)
        ASSERT_EQ(bytes[offset], 0) << what << ", offset " << offset;
}

} // namespace

TEST(TMpegSettingsChoice, DefaultsForACdStereoDocument) {
    const TEncoderConfig config = TMpegSettingsChoice{}.EncoderConfig(44100, 2);
    ExpectFields(config,
                 {{0, 256},
                  {4, 1},
                  {8, 331},
                  {12, 44100},
                  {24, 320},
                  {28, 320},
                  {32, 12},
                  {36, 1},
                  {60, -1},
                  {72, 8},
                  {80, -1}},
                 "CBR defaults");
}

TEST(TMpegSettingsChoice, RecordByModeRateAndChannels) {
    struct Case {
        const char* what;
        TMpegSettingsChoice choice;
        int32_t rate, channels;
        std::map<size_t, int32_t> fields;
    } cases[] = {
        {"22050 Hz first entry",
         {},
         22050,
         2,
         {{12, 22050}, {24, 160}, {28, 160}, {32, 12}, {36, 0}, {72, 8}, {80, -1}}},
        {"11025 Hz first entry",
         {},
         11025,
         1,
         {{12, 11025}, {20, 3}, {24, 128}, {28, 128}, {32, 12}, {72, 8}, {80, -1}}},
        {"96000 Hz",
         {3, 7, 0, 0, 0, false},
         96000,
         2,
         {{12, 96000}, {24, 128}, {28, 128}, {32, 12}, {36, 1}, {72, 8}, {80, -1}}},
        {"mono",
         {5, 0, 0, 0, 0, false},
         48000,
         1,
         {{12, 48000}, {20, 3}, {24, 128}, {28, 320}, {32, 12}, {36, 1}, {72, 8}, {80, -1}}},
        {"VBR quality 2",
         {13, 0, 1, 2, 0, false},
         44100,
         2,
         {{12, 44100},
          {24, 32},
          {28, 320},
          {32, -1},
          {36, 1},
          {64, -1},
          {68, -1},
          {72, 6},
          {80, 0}}},
        {"ABR 192",
         {0, 0, 2, 0, 3, false},
         44100,
         2,
         {{12, 44100},
          {24, 320},
          {28, 320},
          {32, 11},
          {36, 1},
          {68, -1},
          {72, 8},
          {76, 192000},
          {80, 4}}},
        {"checksum",
         {0, 0, 0, 8, 0, true},
         32000,
         2,
         {{12, 32000}, {24, 320}, {28, 320}, {32, 12}, {36, 1}, {52, -1}, {72, 0}, {80, -1}}},
    };
    for (const Case& c : cases) {
        auto fields = c.fields;
        fields.insert({{0, 256}, {4, 1}, {8, 331}, {60, -1}});
        ExpectFields(c.choice.EncoderConfig(c.rate, c.channels), fields, c.what);
    }
}
