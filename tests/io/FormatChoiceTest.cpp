// The chooser's offer without a window: which tags and formats it lists for a source, where it
// starts, and how it fills the caller's buffer.
#include "WriterHelpers.h"

#include "FormatChoice.h"
#include "FormatChooseRequest.h"
#include "IFormatChooser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

std::vector<std::string> TagNames(const FormatChoice& choice) {
    std::vector<std::string> names;
    for (const auto& tag : choice.Tags())
        names.push_back(tag.Name);
    return names;
}

TEST(FormatChoice, ListsOnlyTheTagsTheSourceConvertsTo) {
    FormatChooseRequest mono(PcmFormat(8000, 1, 16), Block(PcmFormat(8000, 1, 16)));
    EXPECT_EQ(TagNames(FormatChoice(mono.Choose)),
              (std::vector<std::string>{"PCM", "IEEE Float", "A-Law", "u-Law", "IMA ADPCM",
                                        "Microsoft ADPCM", "GSM 6.10"}));
    FormatChooseRequest stereo(PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)));
    const FormatChoice choice(stereo.Choose);
    EXPECT_EQ(choice.Status(), 0u);
    const auto names = TagNames(choice);
    EXPECT_EQ(std::count(names.begin(), names.end(), "GSM 6.10"), 0);
    EXPECT_EQ(names.size(), 6u);
}

TEST(FormatChoice, StartsOnTheGivenFormatWithItsAttributes) {
    FormatChooseRequest request(PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)));
    const FormatChoice choice(request.Choose);
    const auto& tag = choice.Tags()[choice.InitialTag()];
    EXPECT_EQ(tag.Name, "PCM");
    EXPECT_EQ(tag.Formats[choice.InitialFormat()].Attributes,
              "44,100 Hz, 16 Bit, Stereo  172 kb/sec");

    // A compressed format that the previous save chose.
    const WaveFormatBlock ima = choice.Tags()[4].Formats[0].Format;
    FormatChooseRequest again(PcmFormat(44100, 2, 16), ima);
    const FormatChoice second(again.Choose);
    EXPECT_EQ(second.Tags()[second.InitialTag()].Name, "IMA ADPCM");
    EXPECT_EQ(second.Tags()[second.InitialTag()].Formats[second.InitialFormat()].Attributes,
              "44,100 Hz, 4 Bit, Stereo  43 kb/sec");

    // Without the style flag the source format is where it starts.
    FormatChooseRequest plain(PcmFormat(44100, 2, 16), ima, 0);
    const FormatChoice third(plain.Choose);
    EXPECT_EQ(third.Tags()[third.InitialTag()].Formats[third.InitialFormat()].Attributes,
              "44,100 Hz, 16 Bit, Stereo  172 kb/sec");
}

TEST(FormatChoice, AcceptZeroFillsTheBufferBeforeCopyingTheFormat) {
    FormatChooseRequest request(PcmFormat(22050, 1, 16), Block(PcmFormat(22050, 1, 16)));
    request.Buffer.fill(0xAA);
    std::memcpy(request.Buffer.data(), &request.Source, sizeof request.Source);
    const FormatChoice choice(request.Choose);
    const auto& ms = choice.Tags()[5];
    ASSERT_EQ(ms.Name, "Microsoft ADPCM");
    ASSERT_EQ(choice.Accept(5, 0, request.Choose), 0u);
    EXPECT_EQ(0, std::memcmp(request.Buffer.data(), ms.Formats[0].Format.data(), 18 + 32));
    EXPECT_TRUE(std::all_of(request.Buffer.begin() + 50, request.Buffer.end(),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_NE(choice.Accept(5, 1, request.Choose), 0u);
    EXPECT_NE(choice.Accept(9, 0, request.Choose), 0u);
}

TEST(FormatChoice, AMalformedRequestOffersNothing) {
    FormatChooseRequest request(PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)));
    request.Choose.fdwEnum = 0;
    EXPECT_NE(FormatChoice(request.Choose).Status(), 0u);
    FormatChooseRequest eightBit(PcmFormat(44100, 2, 8), Block(PcmFormat(44100, 2, 8)));
    EXPECT_NE(FormatChoice(eightBit.Choose).Status(), 0u);
    FormatChooseRequest small(PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)));
    small.Choose.cbwfx = 10;
    EXPECT_NE(FormatChoice(small.Choose).Status(), 0u);
}

/// A chooser as save tests install it: picks a fixed entry without a window.
class PickFirstCompressed : public IFormatChooser {
public:
    uint32_t Choose(ACMFORMATCHOOSE& request) override {
        const FormatChoice choice(request);
        return choice.Status() ? choice.Status() : choice.Accept(1, 0, request);
    }
};

TEST(FormatChooser, ShowUsesTheInstalledChooser) {
    FormatChooseRequest request(PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)));
    IFormatChooser::Install(nullptr);
    EXPECT_NE(IFormatChooser::Show(request.Choose), 0u);
    PickFirstCompressed chooser;
    IFormatChooser::Install(&chooser);
    EXPECT_EQ(IFormatChooser::Installed(), &chooser);
    EXPECT_EQ(IFormatChooser::Show(request.Choose), 0u);
    EXPECT_EQ(ReadWaveFormat(request.Buffer.data()).wFormatTag, 3u);
    IFormatChooser::Install(nullptr);
}

} // namespace
