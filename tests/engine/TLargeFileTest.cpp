#include "TLargeFile.h"

#include "Exceptions.h"
#include "Signals.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

/// A data file of `samples` known samples after a 44-byte header, and the same samples in memory.
struct DataFile {
    std::string path;
    std::vector<int16_t> samples;
    std::shared_ptr<const TDataFile> file;
};

DataFile MakeDataFile(const TempDir& dir, const std::string& name, size_t samples, int seed) {
    DataFile file{dir.File(name), {}, {}};
    file.samples = RawNoise(samples, uint32_t(seed));
    std::vector<uint8_t> bytes(44, 0xEE);
    for (const int16_t s : file.samples) {
        bytes.push_back(uint8_t(s & 0xFF));
        bytes.push_back(uint8_t(uint16_t(s) >> 8));
    }
    WriteWholeFile(file.path, bytes);
    file.file = TDataFile::Open(file.path);
    return file;
}

/// The plain model of a table: its samples in order.
using Model = std::vector<int16_t>;

void ExpectSame(TLargeFile& table, const Model& model) {
    ASSERT_EQ(table.TotalSize, int64_t(model.size() * 2));
    for (size_t i = 0; i < model.size(); ++i)
        ASSERT_EQ(table.ReadAt(int64_t(i * 2)), model[i]) << "sample " << i;
}

Model Slice(const Model& m, size_t from, size_t to) {
    return Model(m.begin() + from, m.begin() + to);
}

} // namespace

TEST(TLargeFile, RandomCutsMatchVectorModel) {
    TempDir dir;
    const int channels = 2;
    const DataFile a = MakeDataFile(dir, "a", 2 * 100000, 1);
    const DataFile b = MakeDataFile(dir, "b", 2 * 70000, 2);
    auto table =
        TLargeFile::CreateWithFile("doc", a.file, int64_t(a.samples.size() * 2), channels, 44100);
    Model model = a.samples;
    std::mt19937 random(42);
    for (int step = 0; step < 40; ++step) {
        const int64_t frames = int64_t(model.size()) / channels;
        const int64_t at = int64_t(random() % uint32_t(frames + 1));
        const int64_t to = at + int64_t(random() % uint32_t(frames - at + 1));
        auto next = std::make_unique<TLargeFile>("doc", channels, 44100);
        next->CopyBefore(*table, at);
        Model nextModel = Slice(model, 0, size_t(at * channels));
        switch (random() % 3) {
        case 0: { // a piece of another file
            const int64_t first = random() % 60000, count = random() % 10000;
            next->Add({count * 4, TChunk::FileBacked, b.file, 44 + first * 4});
            nextModel.insert(nextModel.end(), b.samples.begin() + first * 2,
                             b.samples.begin() + (first + count) * 2);
            break;
        }
        case 1: { // silence, sometimes longer than the window
            const int64_t count = random() % 140000;
            next->Add({count * 4, TChunk::Silence, {}, 0});
            nextModel.insert(nextModel.end(), size_t(count * 2), 0);
            break;
        }
        default: // a plain delete
            break;
        }
        next->CopyFrom(*table, to);
        nextModel.insert(nextModel.end(), model.begin() + to * channels, model.end());
        next->UpdateSize();
        table = std::move(next);
        model = std::move(nextModel);
        ExpectSame(*table, model);
    }
    // Reading backwards across pieces, past the end and at frame 0 again.
    for (int64_t i = int64_t(model.size()) - 1; i >= 0; i -= 997)
        ASSERT_EQ(table->ReadAt(i * 2), model[size_t(i)]);
    EXPECT_EQ(table->ReadAt(table->TotalSize), 0);
    EXPECT_EQ(table->ReadAt(table->TotalSize + 1000), 0);
}

TEST(TLargeFile, CopyBeforeAndFromAtEdges) {
    TempDir dir;
    const DataFile a = MakeDataFile(dir, "a", 1000, 3);
    TLargeFile source("doc", 1, 8000);
    source.Add({400, TChunk::FileBacked, a.file, 44});
    source.Add({0, TChunk::Silence, {}, 0});
    source.Add({600, TChunk::Silence, {}, 0});
    source.UpdateSize();

    struct Case {
        int64_t frame;
        size_t beforePieces, fromPieces;
    } cases[] = {{0, 0, 3}, {100, 1, 3}, {200, 1, 2}, {250, 3, 1}, {500, 3, 0}, {900, 3, 0}};
    for (const Case& c : cases) {
        TLargeFile before("doc", 1, 8000), from("doc", 1, 8000);
        before.CopyBefore(source, c.frame);
        from.CopyFrom(source, c.frame);
        EXPECT_EQ(before.Chunks.size(), c.beforePieces) << c.frame;
        EXPECT_EQ(from.Chunks.size(), c.fromPieces) << c.frame;
        before.UpdateSize();
        from.UpdateSize();
        EXPECT_EQ(before.TotalSize, std::min<int64_t>(c.frame, 500) * 2);
        EXPECT_EQ(from.TotalSize, std::max<int64_t>(500 - c.frame, 0) * 2);
    }
    TLargeFile split("doc", 1, 8000);
    split.CopyBefore(source, 100);
    split.CopyFrom(source, 100);
    ASSERT_EQ(split.Chunks.size(), 4u);
    EXPECT_EQ(split.Chunks[0].Offset, 44);
    EXPECT_EQ(split.Chunks[1].Offset, 244);
    EXPECT_EQ(split.Chunks[1].DataFile, a.file);
}

TEST(TLargeFile, ShortDataFileReadsZerosAndUnreadableFileRaises) {
    TempDir dir;
    const DataFile a = MakeDataFile(dir, "a", 100, 4);
    std::filesystem::create_directory(dir.File("folder"));
    TLargeFile table("doc", 1, 8000);
    table.Add({400, TChunk::FileBacked, a.file, 44}); // 200 samples, only 100 in the file
    table.Add({2, TChunk::FileBacked, TDataFile::Open(dir.File("folder")), 44});
    table.UpdateSize();
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(table.ReadAt(i * 2), a.samples[size_t(i)]);
    for (int i = 100; i < 200; ++i)
        EXPECT_EQ(table.ReadAt(i * 2), 0);
    EXPECT_THROW(table.ReadAt(400), EReadError);
    EXPECT_EQ(table.ReadAt(10), a.samples[5]); // the window recovers
    EXPECT_THROW(TDataFile::Open(dir.File("missing")), EFOpenError);
}

TEST(TLargeFile, BulkReadMatchesSampleReads) {
    TempDir dir;
    const DataFile a = MakeDataFile(dir, "a", 600000, 5);
    TLargeFile table("doc", 1, 8000);
    table.Add({300000, TChunk::FileBacked, a.file, 44 + 1000});
    table.Add({1000, TChunk::Silence, {}, 0});
    table.Add({900000, TChunk::FileBacked, a.file, 44});
    table.UpdateSize();
    std::vector<int16_t> bulk(size_t(table.TotalSize / 2 + 10), 77);
    table.Read(0, bulk.data(), int64_t(bulk.size() * 2));
    TLargeFile other("doc", 1, 8000);
    other.Chunks = table.Chunks;
    other.UpdateSize();
    for (size_t i = 0; i < bulk.size(); ++i)
        ASSERT_EQ(bulk[i], other.ReadAt(int64_t(i * 2))) << i;
}

TEST(TLargeFile, BulkReadsOfEveryLengthMatchTheModel) {
    // Spans below and above the length that bypasses the window, over a short data file (whose
    // missing bytes read as zeros), silence and a piece boundary.
    TempDir dir;
    const DataFile a = MakeDataFile(dir, "a", 200000, 6);
    TLargeFile table("doc", 1, 8000);
    table.Add({300000, TChunk::FileBacked, a.file, 44 + 200000});
    table.Add({70000, TChunk::Silence, {}, 0});
    table.Add({300000, TChunk::FileBacked, a.file, 44});
    table.UpdateSize();
    Model model(a.samples.begin() + 100000, a.samples.end());
    model.resize(150000 + 35000, 0); // 100000 samples in the file, then zeros and silence
    model.insert(model.end(), a.samples.begin(), a.samples.begin() + 150000);
    ASSERT_EQ(int64_t(model.size() * 2), table.TotalSize);
    std::mt19937 random(8);
    for (int trial = 0; trial < 200; ++trial) {
        const int64_t first = random() % uint32_t(model.size());
        const int64_t count = random() % (trial % 2 ? 100000u : 1000u) + 1;
        std::vector<int16_t> bulk(size_t(count), 77);
        table.Read(first * 2, bulk.data(), count * 2);
        for (int64_t i = 0; i < count; ++i)
            ASSERT_EQ(bulk[size_t(i)],
                      first + i < int64_t(model.size()) ? model[size_t(first + i)] : 0)
                << "trial " << trial << " sample " << first + i;
    }
}

TEST(TLargeFile, TablesOpenNoFilesOfTheirOwn) {
    // Each data file holds one descriptor, however many tables read it.
    const auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator());
    };
    TempDir dir;
    const auto before = openFiles();
    std::vector<DataFile> files;
    std::vector<std::unique_ptr<TLargeFile>> tables;
    for (int i = 0; i < 100; ++i) {
        files.push_back(MakeDataFile(dir, "f" + std::to_string(i), 100, 100 + i));
        for (int copy = 0; copy < 3; ++copy) {
            tables.push_back(TLargeFile::CreateWithFile("doc", files.back().file, 200, 1, 8000));
            ASSERT_EQ(tables.back()->ReadAt(198), files.back().samples[99]);
        }
    }
    EXPECT_EQ(openFiles(), before + 100);
    for (size_t i = 0; i < tables.size(); ++i) {
        ASSERT_EQ(tables[i]->ReadAt(10), files[i / 3].samples[5]) << i;
    }
    tables.clear();
    files.clear();
    EXPECT_EQ(openFiles(), before);
}
