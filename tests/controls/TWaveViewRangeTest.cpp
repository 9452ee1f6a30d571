#include "WaveViewFixture.h"

#include <cstdint>
#include <vector>

namespace {

/// The view's span and the scroll bar's page after a removal.
struct SpanAfter {
    bool Removed;
    uint32_t ViewStart, ViewEnd, Visible;
    int32_t Page;
    bool operator==(const SpanAfter&) const = default;
};

struct RemovalCase {
    const char* Name;
    int64_t First, Frames;
    SpanAfter Expected;
};

class WaveViewRange : public WaveViewFixture {
protected:
    /// A 1000-frame document shown from frame 200 to 600.
    void ShowMiddle() {
        Load(std::vector<int16_t>(1000, 100));
        View.RestoreSpan({400, 200, 400, 600, true});
    }

    SpanAfter Remove(int64_t first, int64_t frames) {
        const bool removed = View.RemoveRange(first, frames);
        return {removed, View.viewstart, View.viewend, View.visible, Bar.PageSize()};
    }
};

TEST_F(WaveViewRange, RemovalKeepsTheVisibleLengthBetweenStartAndEnd) {
    // Values by hand: a range inside the view and shorter than it shortens view and page by its
    // length; any other range shows the whole shortened document (1000 - length frames).
    const RemovalCase cases[] = {
        {"start of the view", 200, 50, {true, 200, 550, 350, 350}},
        {"middle of the view", 300, 100, {true, 200, 500, 300, 300}},
        {"end of the view", 500, 100, {true, 200, 500, 300, 300}},
        {"the whole view", 200, 400, {true, 0, 600, 600, 600}},
        {"reaching before the view", 100, 200, {true, 0, 800, 800, 800}},
        {"the whole document", 0, 1000, {true, 0, 0, 0, 0}},
        {"past the document's end", 900, 200, {false, 200, 600, 400, 400}},
        {"before the document", -1, 10, {false, 200, 600, 400, 400}},
    };
    for (const RemovalCase& c : cases) {
        ShowMiddle();
        const SpanAfter after = Remove(c.First, c.Frames);
        EXPECT_EQ(after, c.Expected) << c.Name;
        EXPECT_EQ(View.visible, View.viewend - View.viewstart) << c.Name;
    }
}

TEST_F(WaveViewRange, RestoreSpanPutsBackWhatARemovalChanged) {
    ShowMiddle();
    const TWaveView::TSpan before = View.Span();
    View.RemoveRange(300, 100);
    View.DropSelectionMark();
    EXPECT_FALSE(View.selected);
    View.RestoreSpan(before);
    EXPECT_EQ(Remove(200, 0), (SpanAfter{true, 200, 600, 400, 400}));
    EXPECT_TRUE(View.selected);
}

} // namespace
