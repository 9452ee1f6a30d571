#include "VersionInfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {
constexpr const char* SectionName = ".sondrix_version";
constexpr uint64_t MaximumRecord = 65536;
constexpr char Magic[8] = {'S', 'X', 'V', 'E', 'R', 'S', '1', '\0'};

// A file descriptor opened for reading, closed with the object.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const std::string& name)
        : Fd(open(name.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~ReadOnlyFile() {
        if (Fd >= 0)
            close(Fd);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool IsOpen() const { return Fd >= 0; }
    uint64_t Size() const {
        struct stat info {};
        return fstat(Fd, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<uint64_t>(info.st_size)
                                                              : 0;
    }
    /// Reads exactly `count` bytes at `offset` within a file of `size` bytes.
    bool ReadAt(uint64_t offset, void* buffer, uint64_t count, uint64_t size) const {
        if (offset > size || count > size - offset)
            return false;
        auto* out = static_cast<uint8_t*>(buffer);
        while (count > 0) {
            ssize_t got = pread(Fd, out, count, static_cast<off_t>(offset));
            if (got <= 0)
                return false;
            out += got;
            offset += static_cast<uint64_t>(got);
            count -= static_cast<uint64_t>(got);
        }
        return true;
    }

private:
    int Fd;
};

uint64_t Little(const uint8_t* p, int bytes) {
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | p[i];
    return value;
}

struct Section {
    uint32_t Name;
    uint32_t Type;
    uint64_t Offset;
    uint64_t Size;
    uint32_t Link;
};

// The layout of one ELF class: where the header's and the section header's fields are.
struct ElfLayout {
    bool Wide; // ELF64
    uint64_t HeaderSize() const { return Wide ? 64 : 52; }
    uint64_t SectionOffset(const uint8_t* h) const {
        return Wide ? Little(h + 0x28, 8) : Little(h + 0x20, 4);
    }
    uint64_t EntrySize(const uint8_t* h) const { return Little(h + (Wide ? 0x3A : 0x2E), 2); }
    uint64_t Count(const uint8_t* h) const { return Little(h + (Wide ? 0x3C : 0x30), 2); }
    uint64_t NamesIndex(const uint8_t* h) const { return Little(h + (Wide ? 0x3E : 0x32), 2); }
    uint64_t MinimumEntry() const { return Wide ? 64 : 40; }
    Section Parse(const uint8_t* s) const {
        if (Wide)
            return {static_cast<uint32_t>(Little(s, 4)), static_cast<uint32_t>(Little(s + 4, 4)),
                    Little(s + 24, 8), Little(s + 32, 8), static_cast<uint32_t>(Little(s + 40, 4))};
        return {static_cast<uint32_t>(Little(s, 4)), static_cast<uint32_t>(Little(s + 4, 4)),
                Little(s + 16, 4), Little(s + 20, 4), static_cast<uint32_t>(Little(s + 24, 4))};
    }
};

constexpr uint32_t SectionNoBits = 8;
constexpr uint64_t NamesIndexExtended = 0xFFFF;

// Finds the record's section in an ELF file: its offset and size, or nothing.
class ElfReader {
public:
    explicit ElfReader(const std::string& fileName)
        : File(fileName)
        , FileSize(File.IsOpen() ? File.Size() : 0) {}

    std::optional<Section> FindRecord() {
        uint8_t header[64] = {};
        if (FileSize < 52 || !File.ReadAt(0, header, std::min<uint64_t>(64, FileSize), FileSize))
            return std::nullopt;
        if (std::memcmp(header,
                        "\x7F"
                        "ELF",
                        4) != 0 ||
            (header[4] != 1 && header[4] != 2) || header[5] != 1)
            return std::nullopt;
        Layout = ElfLayout{header[4] == 2};
        if (FileSize < Layout.HeaderSize())
            return std::nullopt;
        return FindIn(header);
    }

    bool Read(const Section& section, std::vector<uint8_t>& data) {
        data.resize(section.Size);
        return File.ReadAt(section.Offset, data.data(), section.Size, FileSize);
    }

private:
    std::optional<Section> SectionAt(uint64_t index) {
        if (index >= Count)
            return std::nullopt;
        uint8_t entry[64] = {};
        if (!File.ReadAt(TableOffset + index * EntrySize, entry, Layout.MinimumEntry(), FileSize))
            return std::nullopt;
        return Layout.Parse(entry);
    }

    std::optional<Section> FindIn(const uint8_t* header) {
        TableOffset = Layout.SectionOffset(header);
        EntrySize = Layout.EntrySize(header);
        Count = Layout.Count(header);
        uint64_t namesIndex = Layout.NamesIndex(header);
        if (TableOffset == 0 || EntrySize < Layout.MinimumEntry())
            return std::nullopt;
        if (Count == 0 || namesIndex == NamesIndexExtended) {
            // Many sections: the real count and names index sit in section 0.
            Count = 1;
            std::optional<Section> first = SectionAt(0);
            if (!first)
                return std::nullopt;
            if (Layout.Count(header) == 0)
                Count = first->Size;
            if (namesIndex == NamesIndexExtended)
                namesIndex = first->Link;
        }
        if (Count > FileSize / EntrySize)
            return std::nullopt;
        std::optional<Section> names = SectionAt(namesIndex);
        if (!names || names->Type == SectionNoBits)
            return std::nullopt;
        return Search(*names);
    }

    std::optional<Section> Search(const Section& names) {
        const uint64_t wanted = std::strlen(SectionName) + 1;
        for (uint64_t i = 1; i < Count; ++i) {
            std::optional<Section> section = SectionAt(i);
            if (!section)
                return std::nullopt;
            char name[32] = {};
            if (section->Name >= names.Size || names.Size - section->Name < wanted)
                continue;
            if (!File.ReadAt(names.Offset + section->Name, name, wanted, FileSize))
                continue;
            if (std::memcmp(name, SectionName, wanted) == 0)
                return section;
        }
        return std::nullopt;
    }

    ReadOnlyFile File;
    uint64_t FileSize;
    ElfLayout Layout{true};
    uint64_t TableOffset = 0;
    uint64_t EntrySize = 0;
    uint64_t Count = 0;
};

std::optional<Section> RecordSection(ElfReader& reader) {
    std::optional<Section> section = reader.FindRecord();
    if (!section || section->Type == SectionNoBits || section->Size == 0 ||
        section->Size > MaximumRecord)
        return std::nullopt;
    return section;
}

bool SameKey(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}
} // namespace

uint32_t GetFileVersionInfoSize(const std::string& fileName) {
    ElfReader reader(fileName);
    std::optional<Section> section = RecordSection(reader);
    return section ? static_cast<uint32_t>(section->Size) : 0;
}

bool GetFileVersionInfo(const std::string& fileName, uint32_t size, std::vector<uint8_t>& data) {
    ElfReader reader(fileName);
    std::optional<Section> section = RecordSection(reader);
    if (!section)
        return false;
    section->Size = std::min<uint64_t>(section->Size, size);
    return reader.Read(*section, data);
}

bool VerQueryValue(const std::vector<uint8_t>& data, std::string_view subBlock,
                   std::string_view& value) {
    value = {};
    if (data.size() < 12 || std::memcmp(data.data(), Magic, sizeof Magic) != 0)
        return false;
    const uint64_t count = Little(data.data() + 8, 4);
    uint64_t pos = 12;
    for (uint64_t i = 0; i < count; ++i) {
        if (data.size() - pos < 2)
            return false;
        const uint64_t keyLength = Little(data.data() + pos, 2);
        pos += 2;
        if (data.size() - pos < keyLength + 4)
            return false;
        std::string_view key(reinterpret_cast<const char*>(data.data() + pos), keyLength);
        pos += keyLength;
        const uint64_t valueLength = Little(data.data() + pos, 4);
        pos += 4;
        if (data.size() - pos < valueLength)
            return false;
        if (SameKey(key, subBlock)) {
            value = std::string_view(reinterpret_cast<const char*>(data.data() + pos), valueLength);
            return true;
        }
        pos += valueLength;
    }
    return false;
}
