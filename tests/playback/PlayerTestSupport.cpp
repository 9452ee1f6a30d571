#include "PlayerTestSupport.h"

#include "UserInterface.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <unistd.h>

WAVEFORMATEX TestTable::Format() const {
    const auto align = static_cast<uint16_t>(2 * Channels);
    return WAVEFORMATEX{WAVE_FORMAT_PCM,
                        static_cast<uint16_t>(Channels),
                        uint32_t(Rate),
                        uint32_t(Rate) * align,
                        align,
                        16,
                        0};
}

std::vector<uint8_t> TestTable::Range(int64_t first, int64_t frames) const {
    const int64_t frameBytes = 2 * Channels;
    return std::vector<uint8_t>(Bytes.begin() + first * frameBytes,
                                Bytes.begin() + (first + frames) * frameBytes);
}

void TestTable::BreakDataFile(size_t index) const {
    // The file's descriptor comes to refer to a folder, which opens but cannot be read.
    const int folder = open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    ASSERT_GE(dup2(folder, DataFiles.at(index)->Descriptor()), 0);
    close(folder);
}

TestTable MakeTable(const TempDir& dir, int32_t channels, int32_t rate,
                    const std::vector<PieceSpec>& pieces, unsigned seed) {
    TestTable made{std::make_shared<TLargeFile>("test", channels, rate), {}, {}, channels, rate};
    std::mt19937 random(seed);
    const int64_t frameBytes = 2 * channels;
    const int64_t skipped = 3 * frameBytes;
    for (const PieceSpec& piece : pieces) {
        const int64_t length = piece.frames * frameBytes;
        if (piece.silence) {
            made.Table->Add(TChunk{length, TChunk::Silence, {}, 0});
            made.Bytes.insert(made.Bytes.end(), size_t(length), 0);
            continue;
        }
        std::vector<uint8_t> file(size_t(44 + skipped), 0xEE);
        for (int64_t i = 0; i < length; ++i)
            file.push_back(static_cast<uint8_t>(random()));
        const std::string path = dir.File("piece" + std::to_string(made.DataFiles.size()));
        WriteWholeFile(path, file);
        made.DataFiles.push_back(TDataFile::Open(path));
        made.Table->Add(TChunk{length, TChunk::FileBacked, made.DataFiles.back(), 44 + skipped});
        made.Bytes.insert(made.Bytes.end(), file.begin() + 44 + skipped, file.end());
    }
    made.Table->UpdateSize();
    return made;
}

TestTable MakeOnePieceTable(const TempDir& dir, const std::string& name, int32_t channels,
                            int32_t rate, const std::vector<int16_t>& samples) {
    TestTable made{std::make_shared<TLargeFile>(name, channels, rate), {}, {}, channels, rate};
    std::vector<uint8_t> file(44, 0);
    for (const int16_t v : samples) {
        file.push_back(static_cast<uint8_t>(uint16_t(v) & 0xFF));
        file.push_back(static_cast<uint8_t>(uint16_t(v) >> 8));
    }
    const std::string path = dir.File(name);
    WriteWholeFile(path, file);
    made.DataFiles.push_back(TDataFile::Open(path));
    made.Table->Add(
        TChunk{int64_t(file.size() - 44), TChunk::FileBacked, made.DataFiles.back(), 44});
    made.Table->UpdateSize();
    made.Bytes.assign(file.begin() + 44, file.end());
    return made;
}

TestTable MakeConstantTable(const TempDir& dir, const std::vector<int16_t>& values,
                            int64_t frames) {
    std::vector<int16_t> samples;
    for (int64_t f = 0; f < frames; ++f)
        samples.insert(samples.end(), values.begin(), values.end());
    return MakeOnePieceTable(dir, "constant", int32_t(values.size()), 8000, samples);
}

PlayerRecord::PlayerRecord() {
    UserInterface::SetErrorDisplay(this);
}

PlayerRecord::~PlayerRecord() {
    UserInterface::SetErrorDisplay(nullptr);
}

void PlayerRecord::ShowError(const std::string& message) {
    Errors.push_back(message);
    if (WhileShown)
        WhileShown();
}

void PlayerRecord::Attach(TPlayer& player) {
    player.OnPlayProcess = [this](int32_t index) { Positions.push_back(index); };
    player.OnPlayStatus = [this](bool action) { Statuses.push_back(action); };
}

PlayerRig::PlayerRig(int32_t channels, int32_t rate, const std::vector<PieceSpec>& pieces,
                     unsigned seed)
    : Table(MakeTable(Dir, channels, rate, pieces, seed))
    , Document(Table.Table) {
    Record.Attach(Player);
}
