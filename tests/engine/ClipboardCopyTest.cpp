#include "ClipboardCopy.h"

#include "TLargeFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

/// Stereo (4 bytes a frame) table of three pieces: a file piece of 100 frames at offset 44,
/// silence of 50 frames, another file piece of 200 frames at offset 0.
/// The data files are "a" and "b" in `dir`.
std::unique_ptr<TLargeFile> ThreePieces(const TempDir& dir) {
    WriteWholeFile(dir.File("a"), {});
    WriteWholeFile(dir.File("b"), {});
    auto table = std::make_unique<TLargeFile>("doc.wav", 2, 44100);
    table->Add(TChunk{400, TChunk::FileBacked, TDataFile::Open(dir.File("a")), 44});
    table->Add(TChunk{200, TChunk::Silence, {}, 0});
    table->Add(TChunk{800, TChunk::FileBacked, TDataFile::Open(dir.File("b")), 0});
    table->UpdateSize();
    return table;
}

struct Piece {
    int64_t Length;
    int32_t Kind;
    std::string DataFile; ///< the file's own name; empty for silence
    int64_t Offset;
    bool operator==(const Piece&) const = default;
};

std::vector<Piece> Pieces(const TLargeFile& table) {
    std::vector<Piece> pieces;
    for (const TChunk& c : table.Chunks)
        pieces.push_back(
            {c.Length, c.Kind,
             c.DataFile ? std::filesystem::path(c.DataFile->Path()).filename().string() : "",
             c.Offset});
    return pieces;
}

} // namespace

TEST(ClipboardCopy, LayoutOfTheCopiedRange) {
    struct Case {
        const char* name;
        int64_t start, end;
        std::vector<Piece> expected;
    };
    const std::vector<Case> cases{
        {"inside one piece", 10, 30, {{80, 1, "a", 44 + 40}}},
        {"a whole piece", 0, 100, {{400, 1, "a", 44}}},
        {"inside the silence", 110, 120, {{40, 2, "", 40}}},
        {"over three pieces: tail, middle, head",
         90,
         160,
         {{40, 1, "a", 44 + 360}, {200, 2, "", 0}, {40, 1, "b", 0}}},
        {"from a boundary to a boundary", 100, 150, {{200, 2, "", 0}}},
        {"to the end", 140, 350, {{40, 2, "", 160}, {800, 1, "b", 0}}},
        {"the whole table", 0, 350, {{400, 1, "a", 44}, {200, 2, "", 0}, {800, 1, "b", 0}}},
        {"an empty range", 20, 20, {}},
        {"an empty range at the end", 350, 350, {}},
    };
    const TempDir dir;
    const auto table = ThreePieces(dir);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto clip = ClipboardCopy::Build(*table, {}, "doc.wav", c.start, c.end);
        EXPECT_EQ(Pieces(*clip), c.expected);
        EXPECT_EQ(clip->TotalSize, (c.end - c.start) * 4);
        EXPECT_EQ(clip->Channels, 2);
        EXPECT_EQ(clip->SampleRate, 44100);
        EXPECT_EQ(clip->FileName, "doc.wav");
        EXPECT_EQ(clip->Peak, 0);
        EXPECT_EQ(clip->LevelDb, 0.0);
    }
}

TEST(ClipboardCopy, StoresTheRangesOwnIndexFromTheDocumentsBlocks) {
    // Stereo index of 6 blocks: element value = its own position, minimum 0, so the union of
    // blocks is the largest position among them.
    Tindexdata index(12);
    for (size_t i = 0; i < index.size(); ++i)
        index[i] = uint32_t(i);
    struct Case {
        int64_t start, end;
        Tindexdata expected;
    };
    const std::vector<Case> cases{
        {0, 10, {0, 1}},                    // inside block 0
        {600, 1700, {4, 5, 6, 7, 6, 7}},    // own blocks from 600, 1112, 1624
        {1023, 1025, {4, 5}},               // two frames of blocks 1 and 2
        {2560, 2600, {10, 11}},             // the last block
        {1536, 3000, {6, 7, 8, 9, 10, 11}}, // on the document's grid
        {2048, 3100, {8, 9, 10, 11, 0, 0}}, // the index ends before the frames
        {3072, 3072, {}},                   // nothing
    };
    TLargeFile table("doc.wav", 2, 44100);
    table.Add(TChunk{3100 * 4, TChunk::Silence, {}, 0});
    table.UpdateSize();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + "-" + std::to_string(c.end));
        EXPECT_EQ(ClipboardCopy::Build(table, index, "doc", c.start, c.end)->IndexData, c.expected);
    }
}
