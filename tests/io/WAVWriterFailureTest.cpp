// Every failure of the writer: the message it raises, and that it leaves no file descriptor, no
// conversion stream and no completed header behind. Fake layers provoke what the real ones
// cannot be made to do on demand; a missing folder and a file size limit are real.
#include "FileSizeLimit.h"
#include "WavInspection.h"
#include "WriterHelpers.h"

#include "AudioCompression.h"
#include "EMakerError.h"
#include "FourCC.h"
#include "RiffFile.h"
#include "Signals.h"
#include "TestFiles.h"
#include "WAVWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <filesystem>

namespace {

const char* const OpenStreamMessage = "Can not open conversion stream. Current codec support only "
                                      "one channel. Please select another codec at control panel";

size_t OpenDescriptors() {
    return size_t(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                std::filesystem::directory_iterator()));
}

enum class AcmFault {
    None,
    TagDetails,
    Open,
    SourceMemory,
    SizeFails,
    SizeZero,
    SizeHuge,
    Prepare,
    Convert,
    ConvertNothing
};

/// The real layer with one call made to fail; counts the streams left open.
class FaultyAcm : public AudioCompression {
public:
    explicit FaultyAcm(AcmFault fault)
        : Fault(fault) {}
    int OpenStreams = 0;

    uint32_t FormatTagDetails(ACMFORMATTAGDETAILS& details, uint32_t flags) override {
        if (Fault == AcmFault::TagDetails)
            return ACMERR_NOTPOSSIBLE;
        return AudioCompression::FormatTagDetails(details, flags);
    }
    uint32_t StreamOpen(HACMSTREAM& stream, const WAVEFORMATEX& source, const uint8_t* target,
                        uint32_t flags) override {
        if (Fault == AcmFault::Open)
            return ACMERR_NOTPOSSIBLE;
        // The source claims an impossible rate; open a real stream for a usual one.
        const WAVEFORMATEX usual = PcmFormat(44100, source.nChannels, 16);
        const uint32_t result = AudioCompression::StreamOpen(
            stream, Fault == AcmFault::SourceMemory ? usual : source, target, flags);
        OpenStreams += result == 0;
        return result;
    }
    uint32_t StreamSize(HACMSTREAM stream, uint32_t input, uint32_t& output,
                        uint32_t flags) override {
        if (Fault == AcmFault::SizeFails)
            return MMSYSERR_ERROR;
        const uint32_t result = AudioCompression::StreamSize(stream, input, output, flags);
        if (Fault == AcmFault::SizeZero)
            output = 0;
        if (Fault == AcmFault::SizeHuge)
            output = 0xFFFFFFF0u;
        return result;
    }
    uint32_t StreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header,
                                 uint32_t flags) override {
        if (Fault == AcmFault::Prepare)
            return MMSYSERR_NOMEM;
        return AudioCompression::StreamPrepareHeader(stream, header, flags);
    }
    uint32_t StreamConvert(HACMSTREAM stream, ACMSTREAMHEADER& header, uint32_t flags) override {
        if (Fault == AcmFault::Convert)
            return MMSYSERR_ERROR;
        if (Fault == AcmFault::ConvertNothing) {
            header.cbSrcLengthUsed = header.cbDstLengthUsed = 0;
            return 0;
        }
        return AudioCompression::StreamConvert(stream, header, flags);
    }
    uint32_t StreamClose(HACMSTREAM stream, uint32_t flags) override {
        --OpenStreams;
        return AudioCompression::StreamClose(stream, flags);
    }

private:
    AcmFault Fault;
};

enum class FileFault { None, FormatChunk, FormatWrite, DataWrite, Ascend, Seek, FactWrite, Close };

/// The real RIFF file with one call made to fail.
class FaultyRiffFile : public RiffFile {
public:
    FaultyRiffFile(int descriptor, FileFault fault)
        : RiffFile(descriptor)
        , Fault(fault) {}

    uint32_t CreateChunk(MMCKINFO& ck, uint32_t flags) override {
        if (Fault == FileFault::FormatChunk && ck.ckid == FourCC('f', 'm', 't', ' '))
            return MMIOERR_CANNOTWRITE;
        return RiffFile::CreateChunk(ck, flags);
    }
    int32_t Write(const void* data, int32_t bytes) override {
        if (Fault == FileFault::FormatWrite && bytes == 16)
            return 8;
        if (Fault == FileFault::DataWrite && bytes > 100)
            return bytes / 2;
        if (Fault == FileFault::FactWrite && Sought)
            return 0;
        return RiffFile::Write(data, bytes);
    }
    uint32_t Ascend(MMCKINFO& ck, uint32_t flags) override {
        if (Fault == FileFault::Ascend && ck.ckid == FourCC('R', 'I', 'F', 'F'))
            return MMIOERR_CANNOTWRITE;
        return RiffFile::Ascend(ck, flags);
    }
    int64_t Seek(int64_t offset, int32_t origin) override {
        Sought = true;
        if (Fault == FileFault::Seek)
            return -1;
        return RiffFile::Seek(offset, origin);
    }
    uint32_t Close() override {
        const uint32_t result = RiffFile::Close();
        return Fault == FileFault::Close ? MMIOERR_CANNOTWRITE : result;
    }

private:
    FileFault Fault;
    bool Sought = false;
};

struct FailureCase {
    const char* Name;
    AcmFault Acm;
    FileFault File;
    uint16_t TargetTag;
    const char* Message;
};

class WAVWriterFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(WAVWriterFailure, RaisesItsMessageAndReleasesEverything) {
    const FailureCase c = GetParam();
    TempDir dir;
    const size_t descriptors = OpenDescriptors();
    FaultyAcm acm(c.Acm);
    const FileFault fileFault = c.File;
    auto opener = [fileFault](const std::string& name, uint32_t) -> std::unique_ptr<RiffFile> {
        const int descriptor = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        return descriptor < 0 ? nullptr : std::make_unique<FaultyRiffFile>(descriptor, fileFault);
    };
    WAVEFORMATEX source = PcmFormat(22050, 1, 16);
    if (c.Acm == AcmFault::SourceMemory)
        source.nSamplesPerSec = 0xFFFFFFFFu;
    WaveFormatBlock target = Block(PcmFormat(22050, 1, 16));
    if (c.TargetTag != 1)
        target = [&] {
            std::vector<WaveFormatBlock> formats;
            AudioCompression::System().FormatEnumConvertible(PcmFormat(22050, 1, 16), formats);
            for (const auto& format : formats)
                if (ReadWaveFormat(format.data()).wFormatTag == c.TargetTag)
                    return format;
            return target;
        }();
    const auto input = AsBytes(Harmonics(22050, 440, 22050, 1, 32767.0 * 0.5));
    std::string raised;
    WAVWriter writer(source, target, acm, opener);
    try {
        writer.Open(dir.File("out.wav"));
        writer.Write(input.data(), int32_t(input.size()));
        writer.Close();
    } catch (const EMakerError& error) {
        raised = error.what();
        EXPECT_EQ(error.ErrorCode(), -1);
    }
    // A failure of the file names it after the writer's own message.
    EXPECT_EQ(raised.substr(0, raised.find('\r')), c.Message);
    if (c.File != FileFault::None) {
        EXPECT_EQ(raised, std::string(c.Message) + "\r\"" + dir.File("out.wav") + "\"");
    }
    EXPECT_FALSE(writer.Opened());
    // The caller's Close after a failure does nothing and raises nothing further.
    EXPECT_NO_THROW(writer.Close());
    EXPECT_EQ(acm.OpenStreams, 0);
    EXPECT_EQ(OpenDescriptors(), descriptors);
    // A failure while data was written leaves the data size unpatched: no reader takes the
    // truncated file for a complete one.
    if (c.File == FileFault::DataWrite) {
        const RiffLayout layout = ReadRiff(dir.File("out.wav"));
        EXPECT_EQ(layout.Find("data")->Size, 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WAVWriterFailure,
    testing::Values(
        FailureCase{"TagDetails", AcmFault::TagDetails, FileFault::None, 1,
                    "Unable to get size of format description"},
        FailureCase{"StreamOpen", AcmFault::Open, FileFault::None, 1, OpenStreamMessage},
        FailureCase{"SourceMemory", AcmFault::SourceMemory, FileFault::None, 1,
                    "Not enougth memory for source buffer"},
        FailureCase{"SizeFails", AcmFault::SizeFails, FileFault::None, 1,
                    "Can not get size of destination buffer"},
        FailureCase{"SizeZero", AcmFault::SizeZero, FileFault::None, 1,
                    "Source buffer to small for conversion"},
        FailureCase{"SizeHuge", AcmFault::SizeHuge, FileFault::None, 1,
                    "Not enougth memory for destination buffer"},
        FailureCase{"Prepare", AcmFault::Prepare, FileFault::None, 1,
                    "Can not preapre stream header"},
        FailureCase{"Convert", AcmFault::Convert, FileFault::None, 1, "Can not convert data"},
        FailureCase{"ConvertNothing", AcmFault::ConvertNothing, FileFault::None, 1,
                    "Destination buffer to small for conversion"},
        FailureCase{"FormatChunk", AcmFault::None, FileFault::FormatChunk, 1,
                    "Can not create file header"},
        FailureCase{"FormatWrite", AcmFault::None, FileFault::FormatWrite, 1,
                    "Can not create file header"},
        FailureCase{"DataWrite", AcmFault::None, FileFault::DataWrite, 1,
                    "Failed to write data to file"},
        FailureCase{"Ascend", AcmFault::None, FileFault::Ascend, 1, "Can not correct file header"},
        FailureCase{"Seek", AcmFault::None, FileFault::Seek, 0x11, "Can not correct file header"},
        FailureCase{"FactWrite", AcmFault::None, FileFault::FactWrite, 0x11,
                    "Can not correct file header"},
        FailureCase{"Close", AcmFault::None, FileFault::Close, 1, "Can not correct file header"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.Name); });

TEST(WAVWriterFailures, AMissingFolderCannotOpenTheFile) {
    TempDir dir;
    const size_t descriptors = OpenDescriptors();
    FaultyAcm acm(AcmFault::None);
    WAVWriter writer(PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)), acm);
    try {
        writer.Open(dir.File("missing/out.wav"));
        FAIL() << "opened";
    } catch (const EMakerError& error) {
        EXPECT_EQ(std::string(error.what()), "Can not open file\r\"" + dir.File("missing/out.wav") +
                                                 "\": No such file or directory");
    }
    EXPECT_FALSE(writer.Opened());
    EXPECT_EQ(acm.OpenStreams, 0);
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST(WAVWriterFailures, AFileSizeLimitEndsTheWriteWithoutCompletingTheHeader) {
    TempDir dir;
    const size_t descriptors = OpenDescriptors();
    const auto input = AsBytes(Harmonics(44100 * 3, 440, 44100, 2, 32767.0 * 0.5));
    std::string raised;
    {
        FileSizeLimit limit(200000);
        WAVWriter writer(PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)));
        try {
            writer.Open(dir.File("big.wav"));
            for (size_t at = 0; at < input.size(); at += 128000)
                writer.Write(input.data() + at,
                             int32_t(std::min<size_t>(128000, input.size() - at)));
            writer.Close();
        } catch (const EMakerError& error) {
            raised = error.what();
        }
        EXPECT_NO_THROW(writer.Close());
    }
    EXPECT_EQ(raised,
              "Failed to write data to file\r\"" + dir.File("big.wav") + "\": File too large");
    EXPECT_EQ(OpenDescriptors(), descriptors);
    const RiffLayout layout = ReadRiff(dir.File("big.wav"));
    EXPECT_LE(layout.FileSize, 200000u);
    EXPECT_EQ(layout.Find("data")->Size, 0u);
}

TEST(WAVWriterFailures, ADataWriteThatFailsInTheFileBufferIsReportedAsOne) {
    // Each format's data fit in the file's buffer, so that the failure shows only when the writer
    // closes.
    const WAVEFORMATEX source = PcmFormat(8000, 1, 16);
    std::vector<WaveFormatBlock> formats;
    ASSERT_EQ(AudioCompression::System().FormatEnumConvertible(source, formats), 0u);
    const auto input = AsBytes(Harmonics(8000 * 3, 440, 8000, 1, 32767.0 * 0.5));
    for (const uint16_t tag :
         {WAVE_FORMAT_PCM, WAVE_FORMAT_IMA_ADPCM, WAVE_FORMAT_ADPCM, WAVE_FORMAT_GSM610}) {
        const auto format = std::find_if(formats.begin(), formats.end(), [&](const auto& block) {
            return ReadWaveFormat(block.data()).wFormatTag == tag;
        });
        ASSERT_NE(format, formats.end()) << tag;
        TempDir dir;
        FileSizeLimit limit(2000);
        WAVWriter writer(source, *format);
        std::string raised;
        try {
            writer.Open(dir.File("out.wav"));
            writer.Write(input.data(), int32_t(input.size()));
            writer.Close();
        } catch (const EMakerError& error) {
            raised = error.what();
        }
        EXPECT_EQ(raised,
                  "Failed to write data to file\r\"" + dir.File("out.wav") + "\": File too large")
            << tag;
        EXPECT_FALSE(writer.Opened());
    }
}

} // namespace

namespace {

TEST(WAVWriterFailures, AFileThatWouldPassFourGibibytesIsRefusedNotWrapped) {
    TempDir dir;
    // The file starts just below the RIFF limit (a sparse jump), so that the data reaches it.
    auto nearTheLimit = [](const std::string& name, uint32_t flags) {
        auto file = RiffFile::Open(name, flags);
        if (file)
            file->Seek(0xFFFFFFFFll - 100000, 0);
        return file;
    };
    const auto input = AsBytes(Harmonics(44100, 440, 44100, 2, 32767.0 * 0.5));
    WAVWriter writer(PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)),
                     AudioCompression::System(), nearTheLimit);
    writer.Open(dir.File("huge.wav"));
    try {
        writer.Write(input.data(), int32_t(input.size()));
        writer.Close();
        FAIL() << "wrote past 4 GiB";
    } catch (const EMakerError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Failed to write data to file\r\"" + dir.File("huge.wav") + "\": File too large");
    }
    EXPECT_FALSE(writer.Opened());
}

} // namespace
