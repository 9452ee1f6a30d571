#include "PcmPieces.h"

#include "Settings.h"
#include "TLargeFile.h"

#include <filesystem>

PcmPieces::PcmPieces()
    : OldTempFolder(Settings.tempfolder) {
    Settings.tempfolder = Folder.Path() + "/";
}

PcmPieces::~PcmPieces() {
    Settings.tempfolder = OldTempFolder;
}

std::string PcmPieces::WriteFile(const std::vector<int16_t>& samples) {
    const std::string name = Folder.File("piece" + std::to_string(Counter++) + ".pcm");
    std::vector<uint8_t> bytes(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        bytes[2 * i] = uint8_t(uint16_t(samples[i]) & 0xFF);
        bytes[2 * i + 1] = uint8_t(uint16_t(samples[i]) >> 8);
    }
    WriteWholeFile(name, bytes);
    return name;
}

std::unique_ptr<TLargeFile> PcmPieces::Table(const std::vector<int16_t>& samples, int32_t channels,
                                             int32_t rate) {
    auto table = std::make_unique<TLargeFile>("source.wav", channels, rate);
    table->Add(TChunk{int64_t(samples.size() * 2), TChunk::FileBacked,
                      TDataFile::Open(WriteFile(samples)), 0});
    table->UpdateSize();
    return table;
}

size_t PcmPieces::FileCount() const {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Folder.Path()))
        count += entry.path().filename().string().starts_with("~we") ? 1 : 0;
    return count;
}
