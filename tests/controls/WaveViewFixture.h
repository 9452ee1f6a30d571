#pragma once

#include "FakeUserInterface.h"
#include "NullSoundScope.h"
#include "TScrollBar.h"
#include "TWaveView.h"
#include "TestDocument.h"
#include "TestFiles.h"
#include "Twavefile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

/// The view with its drawing routines and layers open to the tests.
class TestWaveView : public TWaveView {
public:
    using TWaveView::BlendTintRect;
    using TWaveView::DrawChannelGrid;
    using TWaveView::DrawGradientRows;
    using TWaveView::SelectionTintColumns;
};

/// One recorded OnSelect call.
struct SelectCall {
    uint32_t Start, Stop, StartMs, StopMs;
    bool Selected;
    bool operator==(const SelectCall&) const = default;
};

/// A view of `Width` x `Height` with its scroll bar and the null sound device, showing a document
/// loaded from samples made by the test; records OnCursor and OnSelect.
class WaveViewFixture : public testing::Test {
protected:
    static constexpr int Width = 400;
    static constexpr int Height = 200;

    WaveViewFixture();

    /// Loads interleaved `samples` of `channels` at `rate` and binds the document to the view.
    void Load(const std::vector<int16_t>& samples, int32_t channels = 1, int32_t rate = 8000);
    /// Shows the view so that Qt delivers input events to it.
    void Show();

    /// First, so that the view's player opens the null device on its manual clock.
    NullSoundScope Sound;
    FakeUserInterface Ui;
    TempDir Dir;
    ScopedWorker Loader{opload, SampleFileLoadWorker};
    Twavefile Document;
    TScrollBar Bar;
    TestWaveView View;
    std::vector<std::pair<uint32_t, uint32_t>> Cursors;
    std::vector<SelectCall> Selects;
};

/// A colour of a layer pixel.
TColor At(const TBitmap32& layer, int x, int y);
