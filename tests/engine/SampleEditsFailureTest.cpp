// Sample-processing edits whose result file cannot be written: the error is shown, the operation
// ends, the partial result file is gone, and the document is as it was before the edit.

#include "FileSizeLimit.h"
#include "SampleEditFixture.h"

#include <filesystem>
#include <functional>
#include <set>

namespace {

using Samples16 = std::vector<int16_t>;

struct FailureCase {
    const char* Name;
    std::function<bool(Twavefile&)> Edit;
};

/// The names of the files in `folder`.
std::set<std::string> FilesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class SampleEditFailures : public SampleEditTest,
                           public testing::WithParamInterface<FailureCase> {};

} // namespace

TEST_P(SampleEditFailures, AnUnwritableResultLeavesTheDocumentAsItWas) {
    // 800,000 bytes of audio; result files may not pass 200,000.
    const Samples16 source = TestSignal(200000, 2, 31);
    Load(2, source);
    const Tindexdata index = Document.peakindex;
    const int16_t peak = Document.peak;
    const auto peaks = Document.peaks;
    const size_t pieces = Document.table->Chunks.size();
    EventLog log(Document);
    const std::set<std::string> files = FilesIn(Dir.Path());
    bool started = false;
    {
        FileSizeLimit limit(200000);
        started = GetParam().Edit(Document);
    }
    ASSERT_TRUE(started);
    ASSERT_EQ(Ui.Errors.Messages.size(), 1u);
    EXPECT_NE(Ui.Errors.Messages.front().find("too large"), std::string::npos)
        << Ui.Errors.Messages.front();
    EXPECT_EQ(FilesIn(Dir.Path()), files);
    EXPECT_FALSE(Document.busy);
    EXPECT_TRUE(Document.ready);
    EXPECT_FALSE(Document.modified);
    EXPECT_TRUE(Document.undostack.empty());
    EXPECT_EQ(Document.table->Chunks.size(), pieces);
    EXPECT_EQ(Samples(), source);
    EXPECT_EQ(Document.peakindex, index);
    EXPECT_EQ(Document.peak, peak);
    EXPECT_EQ(Document.peaks, peaks);
    EXPECT_EQ(Document.frames, 200000u);
    EXPECT_EQ(Ui.Progress.Closed, Ui.Progress.Shown);
    ASSERT_FALSE(log.Events.empty());
    EXPECT_EQ(log.Events.back(), "ready(1)");
    // The document still works.
    EXPECT_TRUE(Document.invert());
    EXPECT_EQ(Samples()[1], int16_t(-source[1]));
}

INSTANTIATE_TEST_SUITE_P(
    EveryEdit, SampleEditFailures,
    testing::Values(FailureCase{"FadeIn", [](Twavefile& d) { return d.fadein(1000, 150000); }},
                    FailureCase{"FadeOut", [](Twavefile& d) { return d.fadeout(0, 200000); }},
                    FailureCase{"Amplify", [](Twavefile& d) { return d.amplify(50); }},
                    FailureCase{"Normalize", [](Twavefile& d) { return d.normalize(100); }},
                    FailureCase{"Reverse", [](Twavefile& d) { return d.reverse(); }},
                    FailureCase{"Invert", [](Twavefile& d) { return d.invert(); }}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.Name); });
