// Loading a hostile file stays within bounded memory: a FLAC file whose frames change their rate
// and a WAV file whose tag chunk claims 2 GB. Peak memory is the process's resident high-water
// mark, reset before each load.
#include "FakeUserInterface.h"
#include "Settings.h"
#include "TLoadWorker.h"
#include "TestDocument.h"
#include "TestFiles.h"
#include "Twavefile.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

/// A FLAC file builder: 16-bit mono frames of constant subframes, each with its own block size
/// and rate (0: the stream's rate of 384 kHz).
class FlacFile {
public:
    FlacFile() {
        Bytes = {'f', 'L', 'a', 'C', 0x80, 0, 0, 34};
        Put({0x00, 0x10, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}); // block sizes 16 … 65535, sizes unknown
        // 384000 Hz (20 bits), mono (3 bits), 16 bits (5 bits), total samples unknown.
        Put({0x5D, 0xC0, 0x00, 0xF0, 0, 0, 0, 0});
        Bytes.resize(Bytes.size() + 16); // no MD5
    }

    void AddFrame(uint32_t blockSize, uint32_t rate, int16_t value) {
        std::vector<uint8_t> frame = {0xFF, 0xF8};
        std::vector<uint8_t> extra = {uint8_t((blockSize - 1) >> 8), uint8_t(blockSize - 1)};
        uint8_t rateCode = 0;
        if (rate > 65535) {
            rateCode = 0xE; // tens of Hz
            rate /= 10;
        } else if (rate > 0) {
            rateCode = 0xD; // Hz
        }
        if (rateCode != 0)
            extra.insert(extra.end(), {uint8_t(rate >> 8), uint8_t(rate)});
        frame.insert(frame.end(), {uint8_t(0x70 | rateCode), 0x08, FrameNumber++});
        frame.insert(frame.end(), extra.begin(), extra.end());
        frame.push_back(Crc8(frame));
        frame.insert(frame.end(), {0x00, uint8_t(uint16_t(value) >> 8), uint8_t(value)});
        const uint16_t crc = Crc16(frame);
        frame.insert(frame.end(), {uint8_t(crc >> 8), uint8_t(crc)});
        Bytes.insert(Bytes.end(), frame.begin(), frame.end());
    }

    std::vector<uint8_t> Bytes;

private:
    void Put(std::initializer_list<uint8_t> bytes) { Bytes.insert(Bytes.end(), bytes); }

    static uint8_t Crc8(const std::vector<uint8_t>& data) {
        uint8_t crc = 0;
        for (const uint8_t byte : data) {
            crc ^= byte;
            for (int bit = 0; bit < 8; ++bit)
                crc = uint8_t(crc & 0x80 ? (crc << 1) ^ 0x07 : crc << 1);
        }
        return crc;
    }

    static uint16_t Crc16(const std::vector<uint8_t>& data) {
        uint16_t crc = 0;
        for (const uint8_t byte : data) {
            crc ^= uint16_t(byte << 8);
            for (int bit = 0; bit < 8; ++bit)
                crc = uint16_t(crc & 0x8000 ? (crc << 1) ^ 0x8005 : crc << 1);
        }
        return crc;
    }

    uint8_t FrameNumber = 0;
};

void Put32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(uint8_t(value >> (8 * i)));
}

/// A WAV file of 16-bit mono `samples` at 8000 Hz, followed by a LIST/INFO chunk whose title
/// sub-chunk claims `claimed` bytes.
std::vector<uint8_t> WavWithHugeInfo(const std::vector<int16_t>& samples, uint32_t claimed) {
    std::vector<uint8_t> bytes = {'R', 'I', 'F', 'F'};
    Put32(bytes, 0xFFFFFFF0u);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 1, 0});
    Put32(bytes, 8000);
    Put32(bytes, 16000);
    bytes.insert(bytes.end(), {2, 0, 16, 0, 'd', 'a', 't', 'a'});
    Put32(bytes, uint32_t(samples.size() * 2));
    for (const int16_t sample : samples)
        bytes.insert(bytes.end(), {uint8_t(sample), uint8_t(uint16_t(sample) >> 8)});
    bytes.insert(bytes.end(), {'L', 'I', 'S', 'T'});
    Put32(bytes, claimed + 12);
    bytes.insert(bytes.end(), {'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M'});
    Put32(bytes, claimed);
    bytes.resize(bytes.size() + 64, 'x');
    return bytes;
}

/// A field of /proc/self/status in bytes.
int64_t StatusBytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    int64_t kilobytes = 0;
    while (status >> name)
        if (name == field + ":" && status >> kilobytes)
            return kilobytes * 1024;
    return -1;
}

class LoadMemory : public testing::Test {
protected:
    LoadMemory() { Settings.tempfolder = Temp.Path() + "/"; }

    /// Loads `bytes` as a file and returns by how much the resident peak grew meanwhile.
    int64_t LoadPeakGrowth(const std::vector<uint8_t>& bytes, const std::string& name) {
        WriteWholeFile(Sources.File(name), bytes);
        std::ofstream("/proc/self/clear_refs") << "5";
        const int64_t before = StatusBytes("VmRSS");
        Document.loadfile(Sources.File(name));
        return StatusBytes("VmHWM") - before;
    }

    void ExpectFailureBox() {
        EXPECT_TRUE(Document.loadfailed);
        ASSERT_EQ(Ui.Messages.Boxes.size(), 1u);
        EXPECT_EQ(Ui.Messages.Boxes[0].Text,
                  "Could not import audio file. Format not supported or file broken");
    }

    static constexpr int64_t Bound = 200 << 20;

    ScopedWorker Worker{opload, &TLoadWorker::loadworker};
    FakeUserInterface Ui;
    TempDir Temp;
    TempDir Sources;
    Twavefile Document;
};

TEST_F(LoadMemory, FlacFramesChangingToAVeryLowRateAreRefused) {
    // The second frame at 100 Hz would resample its 65535 samples to 251 million at 384 kHz.
    FlacFile flac;
    flac.AddFrame(16, 0, 1000);
    flac.AddFrame(65535, 100, 2000);
    flac.AddFrame(16, 0, 3000);
    EXPECT_LT(LoadPeakGrowth(flac.Bytes, "low.flac"), Bound);
    ExpectFailureBox();
}

TEST_F(LoadMemory, FlacFramesOutsideTheRateRangeAreRefused) {
    FlacFile flac;
    flac.AddFrame(4096, 655350, 1000);
    flac.AddFrame(4096, 1, 2000);
    flac.AddFrame(16, 0, 3000);
    EXPECT_LT(LoadPeakGrowth(flac.Bytes, "extreme.flac"), Bound);
    ExpectFailureBox();
}

TEST_F(LoadMemory, HugeTagChunkLoadsTheAudioOnly) {
    std::vector<int16_t> samples(8000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(i * 3);
    EXPECT_LT(LoadPeakGrowth(WavWithHugeInfo(samples, 0x7FFFFF00u), "tagged.wav"), Bound);
    ASSERT_TRUE(Document.ready);
    ASSERT_FALSE(Document.loadfailed);
    EXPECT_TRUE(TableSamples(*Document.table) == samples);
}

} // namespace
