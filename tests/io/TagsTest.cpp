// The six text tags of every tagged fixture, as each encoder wrote them, and none of an untagged
// file.
#include "Tags.h"
#include "AudioFixtures.h"
#include "Bass.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> ReadSixTags(const std::string& file) {
    BASS_Init(-1, 44100, 0, nullptr, nullptr);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE_VALUE, file.c_str(), 0, 0, 0x200100);
    EXPECT_NE(stream, 0u) << file;
    std::vector<std::string> tags;
    for (const char* format : {"%TRCK", "%TITL", "%ARTI", "%ALBM", "%GNRE", "%YEAR"}) {
        const char* text = TAGS_Read(stream, format);
        tags.push_back(text ? text : "(nil)");
    }
    BASS_StreamFree(stream);
    return tags;
}

class TaggedFile : public testing::TestWithParam<const char*> {};

TEST_P(TaggedFile, GivesTheSixTagsItsEncoderWrote) {
    EXPECT_EQ(ReadSixTags(Fixture(GetParam())), FixtureTags());
}

INSTANTIATE_TEST_SUITE_P(Formats, TaggedFile,
                         testing::Values("tagged.wav", "tone.aiff", "alac.m4a", "tone.tta",
                                         "tone.flac", "tone.wv", "tone.mp3", "tone.wma", "tone.aac",
                                         "tone.ogg", "tone.opus", "tone.spx", "tone.mpc"));

class UntaggedFile : public testing::TestWithParam<const char*> {};

TEST_P(UntaggedFile, GivesSixEmptyStrings) {
    EXPECT_EQ(ReadSixTags(Fixture(GetParam())), std::vector<std::string>(6));
}

INSTANTIATE_TEST_SUITE_P(Formats, UntaggedFile,
                         testing::Values("tone.wav", "mono.flac", "tone.ac3", "noheader.mp3",
                                         "mono.mp3", "gsm.wav"));

TEST(Tags, UnknownHandleOrFormatGivesNil) {
    EXPECT_EQ(TAGS_Read(987654321, "%TITL"), nullptr);
    BASS_Init(-1, 44100, 0, nullptr, nullptr);
    const std::string file = Fixture("tone.flac");
    const HSTREAM stream = BASS_StreamCreateFile(FALSE_VALUE, file.c_str(), 0, 0, 0x200100);
    EXPECT_EQ(TAGS_Read(stream, "%COMM"), nullptr);
    BASS_StreamFree(stream);
}

} // namespace
