// Files the decoding layer must refuse, and names that must be read as the files they name.
#include "AudioFixtures.h"
#include "Bass.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

HSTREAM Open(const std::string& file) {
    BASS_Init(-1, 44100, 0, nullptr, nullptr);
    return BASS_StreamCreateFile(FALSE_VALUE, file.c_str(), 0, 0,
                                 BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT);
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

/// Runs the rest of a test in another working directory.
class InFolder {
public:
    explicit InFolder(const std::string& folder)
        : Previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(Previous); }

private:
    std::filesystem::path Previous;
};

std::vector<int16_t> ReadAll(HSTREAM stream) {
    std::vector<float> buffer(8192);
    std::vector<int16_t> samples;
    while (BASS_ChannelIsActive(stream)) {
        const DWORD got = BASS_ChannelGetData(stream, buffer.data(), 32768);
        for (DWORD i = 0; i < got / 4; ++i)
            samples.push_back(FloatTo16(buffer[i]));
    }
    return samples;
}

TEST(HostileInput, RefusedFiles) {
    TempDir dir;
    WriteText(dir.File("empty.mp3"), "");
    WriteText(dir.File("text.mp3"), std::string(2000, 'x') + "\nThis is not audio at all.\n");
    WriteText(dir.File("playlist.mp3"), "#EXTM3U\n#EXTINF:2,Tone\n" + Fixture("tone.wav") + "\n" +
                                            Fixture("tone.mp3") + "\n");
    WriteText(dir.File("list.mp3"), "ffconcat version 1.0\nfile '" + Fixture("tone.wav") + "'\n");
    std::mt19937 random(7);
    std::string noise(100000, '\0');
    for (char& c : noise)
        c = char(random());
    WriteText(dir.File("random.ofr"), noise);
    WriteText(dir.File("random.mp3"), noise);
    for (const char* name : {"empty.mp3", "text.mp3", "playlist.mp3", "list.mp3", "random.ofr",
                             "random.mp3", "missing.wav"})
        EXPECT_EQ(Open(dir.File(name)), 0u) << name;
}

TEST(HostileInput, DirectoryIsRefused) {
    TempDir dir;
    EXPECT_EQ(Open(dir.Path()), 0u);
}

TEST(HostileInput, NamesAreFilesNeverProtocols) {
    TempDir dir;
    // Each name holds the mono tone; a protocol reading of the name would give the stereo tone, an
    // error or nothing.
    std::filesystem::copy_file(Fixture("tone.wav"), dir.File("tone.wav"));
    const std::vector<uint8_t> mono = ReadWholeFile(Fixture("mono.wav"));
    const std::vector<std::string> names = {"concat:tone.wav|tone.wav",
                                            "concat:tone.wav",
                                            "file:tone.wav",
                                            "http:tone.wav",
                                            "a:b:c.wav",
                                            "subfile,,start,0,end,0,,:tone.wav",
                                            "T\xC3\xB6n \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC.wav"};
    for (const std::string& name : names)
        WriteWholeFile(dir.File(name), mono);
    const std::vector<int16_t> expected = ToSamples(ReadWav(Fixture("mono.wav")).Data);
    const InFolder here(dir.Path());
    for (const std::string& name : names) {
        for (const std::string& path : {name, dir.File(name)}) {
            const HSTREAM stream = Open(path);
            ASSERT_NE(stream, 0u) << path;
            BASS_CHANNELINFO info{};
            ASSERT_TRUE(BASS_ChannelGetInfo(stream, &info));
            EXPECT_EQ(info.chans, 1u) << path;
            EXPECT_TRUE(ReadAll(stream) == expected) << path;
            BASS_StreamFree(stream);
        }
    }
}

TEST(HostileInput, FileWithoutSamplesOpensEmpty) {
    TempDir dir;
    // A canonical header with an empty data chunk: 22050 Hz mono.
    const std::vector<uint8_t> header = {'R', 'I', 'F',  'F',  36,  0,   0,    0,    'W', 'A', 'V',
                                         'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,   1,   0,
                                         1,   0,   0x22, 0x56, 0,   0,   0x44, 0xAC, 0,   0,   2,
                                         0,   16,  0,    'd',  'a', 't', 'a',  0,    0,   0,   0};
    WriteWholeFile(dir.File("empty.wav"), header);
    const HSTREAM stream = Open(dir.File("empty.wav"));
    ASSERT_NE(stream, 0u);
    BASS_CHANNELINFO info{};
    ASSERT_TRUE(BASS_ChannelGetInfo(stream, &info));
    EXPECT_EQ(info.freq, 22050u);
    EXPECT_EQ(info.chans, 1u);
    EXPECT_TRUE(ReadAll(stream).empty());
    BASS_StreamFree(stream);
}

TEST(HostileInput, ZeroChannelHeaderIsRefused) {
    TempDir dir;
    std::vector<uint8_t> bytes = ReadWholeFile(Fixture("mono.wav"));
    bytes[22] = 0; // channel count
    bytes[23] = 0;
    WriteWholeFile(dir.File("zero.wav"), bytes);
    const HSTREAM stream = Open(dir.File("zero.wav"));
    EXPECT_EQ(stream, 0u);
    BASS_StreamFree(stream);
}

} // namespace
