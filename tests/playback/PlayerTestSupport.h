#pragma once

#include "IErrorDisplay.h"
#include "IPlayerDocument.h"
#include "TLargeFile.h"
#include "TPlayer.h"
#include "TestFiles.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// A document as the player sees it: a table, a ready flag and a playing gate.
class FakeDocument : public IPlayerDocument {
public:
    explicit FakeDocument(std::shared_ptr<TLargeFile> table)
        : Table(std::move(table)) {}

    std::shared_ptr<TLargeFile> CurrentTable() override { return Table; }
    bool IsReady() const override { return Ready; }
    Event& PlayingGate() override { return Gate; }

    std::shared_ptr<TLargeFile> Table;
    bool Ready = true;
    Event Gate{true, true};
};

/// One piece of a test table: `frames` frames from a new data file, or of silence.
struct PieceSpec {
    bool silence;
    int64_t frames;
};

/// A table made of new data files with random samples, and its bytes in memory.
struct TestTable {
    std::shared_ptr<TLargeFile> Table;
    std::vector<uint8_t> Bytes;
    std::vector<std::shared_ptr<const TDataFile>> DataFiles;
    int32_t Channels;
    int32_t Rate;

    /// The 16-bit PCM format of the table.
    WAVEFORMATEX Format() const;
    /// The table's bytes of `frames` frames from frame `first` on.
    std::vector<uint8_t> Range(int64_t first, int64_t frames) const;
    /// Makes every later read of data file `index` fail, as a failing disk would.
    void BreakDataFile(size_t index) const;
};

/// Builds a table in `dir`; every data file has a 44-byte header and a few unused frames
/// before the piece, so that piece offsets are exercised.
TestTable MakeTable(const TempDir& dir, int32_t channels, int32_t rate,
                    const std::vector<PieceSpec>& pieces, unsigned seed = 1);

/// A table of one piece over a new data file `name` in `dir` (a 44-byte header, then `samples`).
TestTable MakeOnePieceTable(const TempDir& dir, const std::string& name, int32_t channels,
                            int32_t rate, const std::vector<int16_t>& samples);

/// A table of `frames` frames whose channel c holds values[c] in every frame.
TestTable MakeConstantTable(const TempDir& dir, const std::vector<int16_t>& values, int64_t frames);

/// What a player reported, and the errors shown while it lived (it is the error display then).
class PlayerRecord : public IErrorDisplay {
public:
    PlayerRecord();
    ~PlayerRecord() override;

    void Attach(TPlayer& player);
    void ShowError(const std::string& message) override;

    /// Runs inside ShowError, as what a user does while the message box is up.
    std::function<void()> WhileShown;

    std::vector<int32_t> Positions;
    std::vector<bool> Statuses;
    std::vector<std::string> Errors;
};

/// The usual player test set-up: a table made by MakeTable in a temporary folder, a document over
/// it and a player whose reports `Record` keeps. Members are built in this order and freed in
/// reverse, so the player goes first.
struct PlayerRig {
    PlayerRig(int32_t channels, int32_t rate, const std::vector<PieceSpec>& pieces,
              unsigned seed = 1);

    TempDir Dir;
    const TestTable Table;
    FakeDocument Document;
    PlayerRecord Record;
    TPlayer Player;
};
