// The waveform view's picture: layout of ruler, lanes and grid, the gradient, the min/max and
// sample drawing, markers, the selection tint, the cursor line and the background picture, each
// checked against pixel values computed by hand for a 400 x 200 view.
#include "Signals.h"
#include "ViewColors.h"
#include "WaveViewFixture.h"

#include <QPainter>

#include <string>

namespace {

constexpr TColor Rgb(int red, int green, int blue) {
    return TColor(red) | TColor(green) << 8 | TColor(blue) << 16;
}

// Gradient rows of the 180-pixel wave area: row 21 (i = 1), row 111 (i = 91), row 199 (i = 179).
constexpr TColor GradientRow21 = Rgb(0x41, 0x6C, 0x99);
constexpr TColor GradientRow111 = Rgb(49, 86, 128);
constexpr TColor GradientRow199 = Rgb(33, 65, 103);
// GradientRow111 tinted: (155 × pixel + 100 × yellow) div 255 per component.
constexpr TColor TintedRow111 = Rgb(129, 152, 77);

int CountColor(const TBitmap32& layer, TColor color, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < layer.Width(); ++x)
            count += layer.Pixel(x, y) == color;
    return count;
}

using DrawTest = WaveViewFixture;

} // namespace

TEST_F(DrawTest, CreatedAt698By250WithTheFieldsCleared) {
    TWaveView view;
    EXPECT_EQ(view.width(), 698);
    EXPECT_EQ(view.height(), 250);
    EXPECT_EQ(view.baselayer.Width(), 698);
    EXPECT_EQ(view.finallayer.Height(), 250);
    EXPECT_EQ(view.wavewidth, 698);
    EXPECT_EQ(view.waveheight, 230);
    EXPECT_TRUE(view.timeruler);
    EXPECT_FALSE(view.selected);
    EXPECT_FALSE(view.closeaftersave);
    EXPECT_EQ(view.Backgroundcolor, 0u);
    EXPECT_TRUE(view.Background.isNull());
    EXPECT_EQ(view.focusPolicy(), Qt::StrongFocus);
    EXPECT_TRUE(view.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(DrawTest, EmptyPictureHasTwoLanesGradientAndElevenDottedLines) {
    View.Repaint();
    const TBitmap32& layer = View.finallayer;
    EXPECT_EQ(At(layer, 5, 5), ViewScaleColor);
    EXPECT_EQ(At(layer, 5, 20), TWaveView::RulerBorderColor);
    // Lanes of a 180-pixel wave area: centres 65 and 155, separator 110, full scale ±33.
    EXPECT_EQ(View.lanecentre[0], 65);
    EXPECT_EQ(View.lanecentre[1], 155);
    for (int y : {32, 98, 122, 188})
        EXPECT_EQ(At(layer, 5, y), TWaveView::FullScaleColor) << y;
    for (int y : {65, 155})
        EXPECT_EQ(At(layer, 5, y), TWaveView::CentreLineColor) << y;
    EXPECT_EQ(At(layer, 5, 110), TWaveView::SeparatorColor);
    EXPECT_EQ(At(layer, 5, 21), GradientRow21);
    EXPECT_EQ(At(layer, 5, 111), GradientRow111);
    EXPECT_EQ(At(layer, 5, 199), GradientRow199);
    // Dotted lines at x = 40n from the ruler border down: three pixels on, three off.
    for (int x = 0; x < 400; x += 40) {
        EXPECT_EQ(At(layer, x, 21), TWaveView::GridLineColor) << x;
        EXPECT_EQ(At(layer, x, 22), TWaveView::GridLineColor) << x;
        EXPECT_EQ(At(layer, x, 24), At(layer, x + 5, 24)) << x;
        EXPECT_EQ(At(layer, x, 26), TWaveView::GridLineColor) << x;
    }
    EXPECT_EQ(At(layer, 20, 21), GradientRow21);
    EXPECT_EQ(View.finallayer.Image, View.baselayer.Image);
}

TEST_F(DrawTest, LaneCentresAndFullScaleLinesPerChannelCount) {
    struct Case {
        int Channels;
        std::vector<int> Centres;
        int FullScale;
    };
    const Case cases[] = {
        {1, {110}, 67},
        {2, {65, 155}, 33},
        {3, {50, 110, 170}, 22},
        {8, {31, 54, 76, 99, 121, 144, 166, 189}, 8},
    };
    View.Repaint();
    for (const Case& c : cases) {
        View.DrawChannelGrid(c.Channels);
        for (size_t i = 0; i < c.Centres.size(); ++i) {
            EXPECT_EQ(View.lanecentre[i], c.Centres[i]) << c.Channels << " lane " << i;
            EXPECT_EQ(At(View.baselayer, 3, c.Centres[i]), TWaveView::CentreLineColor);
            EXPECT_EQ(At(View.baselayer, 3, c.Centres[i] - c.FullScale), TWaveView::FullScaleColor)
                << c.Channels << " lane " << i;
        }
    }
}

TEST_F(DrawTest, ColumnFromSamplesJoinsMaximumAndMinimum) {
    // 800 frames over 400 pixels: column 10 reads frames 20 … 22, so its line runs at x = 11 from
    // 9830 (y = 110 − 20) down to −4915 (y = 110 + 10).
    std::vector<int16_t> samples(800, 0);
    samples[21] = 9830;
    samples[22] = samples[23] = samples[24] = -4915;
    View.timeruler = false;
    Load(samples);
    EXPECT_EQ(View.samplesperpixel, 2.0);
    EXPECT_EQ(View.lanecentre[0], 110);
    for (int y = 90; y <= 120; ++y)
        EXPECT_EQ(At(View.baselayer, 11, y), ViewWaveColor) << y;
    EXPECT_NE(At(View.baselayer, 11, 89), ViewWaveColor);
    EXPECT_NE(At(View.baselayer, 11, 121), ViewWaveColor);
    // Silence runs along the centre line.
    EXPECT_EQ(At(View.baselayer, 300, 110), ViewWaveColor);
    EXPECT_EQ(At(View.baselayer, 300, 111), GradientRow111);
}

TEST_F(DrawTest, TruncatedFramesPerPixelLeavesTheRestOfTheViewUndrawn) {
    // 1999 frames in 400 pixels: 4.9975 frames per pixel become 4, so the view draws 1600 frames.
    std::vector<int16_t> samples(1999, 0);
    for (size_t i = 1700; i < samples.size(); ++i)
        samples[i] = 16000;
    View.timeruler = false;
    Load(samples);
    EXPECT_EQ(View.samplesperpixel, 4.0);
    EXPECT_EQ(View.visible, 1999u);
    EXPECT_EQ(CountColor(View.baselayer, ViewWaveColor, 21, 80), 0);
}

TEST_F(DrawTest, MarkersFromSevenPixelsPerFrame) {
    struct Case {
        size_t Frames;
        bool Markers;
    };
    // 40 frames: 10 pixels a frame; 57 frames: Round(7.02) = 7; 67 frames: Round(5.97) = 6.
    for (const Case& c : {Case{40, true}, Case{57, true}, Case{67, false}}) {
        Load(std::vector<int16_t>(c.Frames, 0));
        EXPECT_LT(View.samplesperpixel, 1.0);
        EXPECT_EQ(CountColor(View.baselayer, ViewScaleColor, 21, 200) > 0, c.Markers) << c.Frames;
    }
    // The marker of frame 5 at 10 pixels a frame: outline at (48, 108), inside at (49, 109).
    Load(std::vector<int16_t>(40, 0));
    EXPECT_EQ(At(View.baselayer, 48, 108), ViewWaveColor);
    EXPECT_EQ(At(View.baselayer, 52, 112), ViewWaveColor);
    EXPECT_EQ(At(View.baselayer, 49, 109), ViewScaleColor);
    EXPECT_NE(At(View.baselayer, 47, 107), ViewWaveColor);
}

TEST_F(DrawTest, ZoomedInLineFollowsEverySample) {
    // 40 frames at 10 pixels each: frame 20 at x = 200 lies 20 pixels above the centre.
    std::vector<int16_t> samples(40, 0);
    samples[20] = 9830;
    Load(samples);
    EXPECT_EQ(At(View.baselayer, 200, 90), ViewWaveColor);
    EXPECT_EQ(At(View.baselayer, 200, 88), ViewWaveColor);  // marker outline at y − 2
    EXPECT_EQ(At(View.baselayer, 200, 89), ViewScaleColor); // marker inside
    int wayBack = 0; // the line back down to frame 21 crosses row 100 near x = 205
    for (int x = 203; x <= 207; ++x)
        wayBack += At(View.baselayer, x, 100) == ViewWaveColor;
    EXPECT_GE(wayBack, 1);
}

TEST_F(DrawTest, SelectionTintCoversItsColumnsOnly) {
    Load(std::vector<int16_t>(800, 0));
    View.SetSelectionFrames(200, 400, true);
    for (const TBitmap32* layer : {&View.sellayer, &View.finallayer}) {
        EXPECT_EQ(At(*layer, 99, 111), GradientRow111);
        EXPECT_EQ(At(*layer, 100, 111), TintedRow111);
        EXPECT_EQ(At(*layer, 150, 111), TintedRow111);
        EXPECT_EQ(At(*layer, 199, 111), TintedRow111);
        EXPECT_EQ(At(*layer, 200, 111), GradientRow111);
        EXPECT_EQ(At(*layer, 150, 19), ViewScaleColor); // the ruler is never tinted
    }
    EXPECT_EQ(At(View.baselayer, 150, 111), GradientRow111);
}

TEST_F(DrawTest, SelectionOutsideTheViewDrawsNoTint) {
    Load(std::vector<int16_t>(800, 0));
    View.ZoomIn(); // cursor 0: frames 0 … 533
    ASSERT_EQ(View.viewend, 533u);
    View.SetSelectionFrames(600, 700, true);
    EXPECT_EQ(View.sellayer.Image, View.baselayer.Image);
    View.SetSelectionFrames(0, 800, true);
    EXPECT_EQ(At(View.sellayer, 1, 111), TintedRow111);
    EXPECT_EQ(At(View.sellayer, 399, 111), TintedRow111);
}

TEST_F(DrawTest, BlendTintRectMixesOneHundredParts) {
    View.Repaint();
    View.sellayer.SetPixel(0, 0, Rgb(255, 0, 10));
    View.BlendTintRect(View.sellayer, 0, 0, 1, 1, Rgb(0, 255, 200));
    // (155 × 255) div 255, (100 × 255) div 255, (155 × 10 + 100 × 200) div 255.
    EXPECT_EQ(At(View.sellayer, 0, 0), Rgb(155, 100, 84));
}

TEST_F(DrawTest, CursorLineAndTrianglesMoveWithoutARedraw) {
    Load(std::vector<int16_t>(800, 0));
    View.SetCursorFrame(400);
    const TBitmap32& layer = View.finallayer;
    EXPECT_EQ(View.cursorx, 200);
    for (int y = 20; y < 200; ++y)
        EXPECT_EQ(At(layer, 200, y), TWaveView::CursorColor) << y;
    for (auto [x, y] :
         {std::pair{197, 20}, {203, 20}, {201, 21}, {197, 199}, {203, 199}, {201, 198}})
        EXPECT_EQ(At(layer, x, y), TWaveView::CursorColor) << x << "," << y;
    EXPECT_NE(At(layer, 196, 20), TWaveView::CursorColor);
    EXPECT_NE(At(layer, 200, 19), TWaveView::CursorColor);
    const QImage base = View.baselayer.Image.copy();
    View.SetCursorFrame(500);
    for (int x = 196; x < 204; ++x)
        for (int y = 0; y < 200; ++y)
            ASSERT_EQ(At(layer, x, y), View.sellayer.Pixel(x, y)) << x << "," << y;
    EXPECT_EQ(At(layer, 250, 100), TWaveView::CursorColor);
    EXPECT_EQ(View.baselayer.Image, base);
}

TEST_F(DrawTest, CursorOnTheViewsEdgesIsNotDrawn) {
    Load(std::vector<int16_t>(800, 0));
    View.SetCursorFrame(400);
    for (uint32_t frame : {0u, 800u}) {
        View.SetCursorFrame(frame);
        EXPECT_EQ(View.finallayer.Image, View.sellayer.Image) << frame;
        View.Repaint();
        EXPECT_EQ(View.finallayer.Image, View.sellayer.Image) << frame;
    }
    // Back inside at the x where the line stood before: drawn again.
    View.SetCursorFrame(400);
    EXPECT_EQ(At(View.finallayer, 200, 100), TWaveView::CursorColor);
}

TEST_F(DrawTest, AViewWithoutAWaveAreaDrawsNothing) {
    // No width, or no rows below the ruler: nothing is drawn and no pixel position overflows
    // (the sanitizers stop the test if one does).
    Load(std::vector<int16_t>(80000, 0));
    View.timeruler = false;
    View.SetCursorFrame(40000);
    for (const QSize size : {QSize(0, 200), QSize(400, 20), QSize(400, 7), QSize(0, 0)}) {
        SCOPED_TRACE(std::to_string(size.width()) + " x " + std::to_string(size.height()));
        View.resize(size);
        View.Repaint();
        EXPECT_EQ(View.drawncursorx, TWaveView::NoCursorLine);
        View.SetCursorFrame(30000);
        EXPECT_EQ(View.drawncursorx, TWaveView::NoCursorLine);
        View.ZoomIn();
        View.KeyDown(39);
        EXPECT_EQ(View.drawncursorx, TWaveView::NoCursorLine);
    }
    View.resize(Width, Height);
    View.ZoomFull();
    View.SetCursorFrame(40000);
    EXPECT_EQ(At(View.finallayer, 200, 100), TWaveView::CursorColor);
}

TEST_F(DrawTest, BackgroundPictureIsCentredUnscaled) {
    View.Backgroundcolor = Rgb(1, 2, 3);
    View.Background = QImage(10, 10, QImage::Format_RGB32);
    View.Background.fill(QColor(255, 0, 0));
    View.Repaint();
    // ox = (400 − 10) div 2 = 195, oy = (200 − 10) div 2 = 95, drawn from y = 20 + 95.
    EXPECT_EQ(At(View.finallayer, 195, 115), Rgb(255, 0, 0));
    EXPECT_EQ(At(View.finallayer, 204, 124), Rgb(255, 0, 0));
    EXPECT_EQ(At(View.finallayer, 194, 115), Rgb(1, 2, 3));
    EXPECT_EQ(At(View.finallayer, 205, 124), Rgb(1, 2, 3));
    EXPECT_EQ(At(View.finallayer, 195, 114), Rgb(1, 2, 3));
    EXPECT_EQ(At(View.finallayer, 5, 5), ViewScaleColor);
}

TEST_F(DrawTest, TallBackgroundPictureShowsItsMiddleRows) {
    View.Background = QImage(10, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 10; ++x)
            View.Background.setPixel(x, y, qRgb(0, y % 256, 0));
    View.Repaint();
    // oy = (200 − 300) div 2 = −50: picture row 50 at y = 20.
    EXPECT_EQ(At(View.finallayer, 195, 20), Rgb(0, 50, 0));
    EXPECT_EQ(At(View.finallayer, 195, 199), Rgb(0, 229, 0));
    EXPECT_EQ(At(View.finallayer, 195, 19), ViewScaleColor);
}

TEST_F(DrawTest, SharedColoursTakeEffectAtTheNextRepaint) {
    Load(std::vector<int16_t>(800, 0));
    const TColor saved = ViewWaveColor;
    ViewWaveColor = Rgb(7, 8, 9);
    View.Repaint();
    EXPECT_EQ(At(View.baselayer, 300, 110), Rgb(7, 8, 9));
    ViewWaveColor = saved;
}

TEST_F(DrawTest, PaintShowsTheFinalLayer) {
    Load(std::vector<int16_t>(800, 0));
    View.SetSelectionFrames(100, 300, true);
    View.SetCursorFrame(400);
    const QImage shown = View.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, View.finallayer.Image);
}

TEST_F(DrawTest, FarOutTheWaveformComesFromThePeakIndex) {
    // 204800 frames over 400 pixels: 512 frames a pixel, each column scans two index blocks.
    std::vector<int16_t> samples(204800, 0);
    std::fill(samples.begin() + 100 * 512, samples.begin() + 101 * 512, int16_t(16000));
    View.timeruler = false;
    Load(samples);
    ASSERT_EQ(View.samplesperpixel, 512.0);
    // 16000 lies Round(16000 / 491.52) = 33 pixels above the centre line 110.
    for (int y = 77; y <= 110; ++y)
        EXPECT_EQ(At(View.baselayer, 100, y), ViewWaveColor) << y;
    EXPECT_NE(At(View.baselayer, 100, 76), ViewWaveColor);
    // The drawing reads the index, not the samples: a block emptied in the index disappears.
    Document.peakindex[100] = MakeIndexElement(0, 0);
    View.Repaint();
    for (int y = 77; y < 110; ++y)
        EXPECT_NE(At(View.baselayer, 100, y), ViewWaveColor) << y;
}

namespace {

struct Layers {
    QImage Base, Selection, Final;
};

Layers Capture(const TWaveView& view) {
    return {view.baselayer.Image.copy(), view.sellayer.Image.copy(), view.finallayer.Image.copy()};
}

/// The view's layers are those that a full repaint of its present state draws.
void ExpectAsRepainted(TWaveView& view, const std::string& what) {
    const Layers drawn = Capture(view);
    const int32_t line = view.drawncursorx;
    view.Repaint();
    EXPECT_TRUE(drawn.Base == view.baselayer.Image) << what;
    EXPECT_TRUE(drawn.Selection == view.sellayer.Image) << what;
    EXPECT_TRUE(drawn.Final == view.finallayer.Image) << what;
    EXPECT_EQ(line, view.drawncursorx) << what;
}

/// `pixel` under the selection tint: (155 × pixel + 100 × yellow) div 255 per component.
TColor Tinted(TColor pixel) {
    TColor mixed = 0;
    for (int shift : {0, 8, 16}) {
        const uint32_t yellow = (TWaveView::SelectionTintColor >> shift) & 0xFF;
        mixed |= ((155 * ((pixel >> shift) & 0xFF) + 100 * yellow) / 255) << shift;
    }
    return mixed;
}

void ShowSpan(TWaveView& view, uint32_t start, uint32_t visible) {
    view.visible = visible;
    view.viewstart = start;
    view.viewend = start + visible;
    view.Repaint();
}

} // namespace

TEST_F(DrawTest, KeysAndSelectionsDrawWhatARepaintDrawsAtEveryZoom) {
    constexpr uint32_t Frames = 240000;
    Load(UniformNoise(2 * Frames, 11, -30000, 30000), 2);
    // Frames a pixel: 600 (peak index), 100 and 2 (samples), 1/4 and 1/10 (markers).
    for (const uint32_t visible : {Frames, 40000u, 800u, 100u, 40u}) {
        const uint32_t start = (Frames - visible) / 3;
        ShowSpan(View, start, visible);
        const std::string zoom = std::to_string(visible) + " frames ";
        struct Selection {
            uint32_t Start, Stop;
            bool Selected;
        };
        for (const Selection s : {Selection{0, 0, false},
                                  {start + visible / 4, start + visible / 2, true},
                                  {0, Frames, true},
                                  {0, 5, true},
                                  {start + 3, Frames, true}}) {
            const std::string what = zoom + std::to_string(s.Start) + "-" + std::to_string(s.Stop);
            View.SetSelectionFrames(s.Start, s.Stop, s.Selected);
            ExpectAsRepainted(View, what + " selected");
            int32_t x1 = 0, x2 = 0;
            if (View.SelectionTintColumns(x1, x2))
                for (int y = 0; y < Height; ++y)
                    for (int x = 0; x < Width; ++x) {
                        const TColor base = View.baselayer.Pixel(x, y);
                        const bool tinted = x >= x1 && x < x2 && y >= TWaveView::RulerHeight;
                        ASSERT_EQ(View.sellayer.Pixel(x, y), tinted ? Tinted(base) : base)
                            << what << " at " << x << "," << y;
                    }
            View.SetCursorFrame(start + visible / 2);
            for (int32_t key : {39, 39, 37, 36, 39, 35, 37}) {
                View.KeyDown(key);
                ExpectAsRepainted(View, what + " key " + std::to_string(key));
            }
            // Several changes in a row, each drawn over the previous one.
            View.SetCursorFrame(start + visible / 3);
            View.KeyDown(39);
            View.SetSelectionFrames(start, start + visible / 5, true);
            View.KeyDown(37);
            View.SetSelectionFrames(s.Start, s.Stop, s.Selected);
            View.KeyDown(39);
            ExpectAsRepainted(View, what + " in a row");
        }
    }
}

TEST_F(DrawTest, AChangedViewIsDrawnAgainInFull) {
    Load(UniformNoise(2 * 8000, 11, -30000, 30000), 2);
    View.Repaint();
    const auto selectAgain = [&] { View.SetSelectionFrames(100, 900, true); };
    selectAgain();
    View.timeruler = false;
    selectAgain();
    ExpectAsRepainted(View, "sample ruler");
    const TColor saved = ViewScaleColor;
    ViewScaleColor = 0x102030;
    selectAgain();
    ExpectAsRepainted(View, "scale colour");
    ViewScaleColor = saved;
    ViewWaveColor ^= 0x00FF00;
    selectAgain();
    ExpectAsRepainted(View, "wave colour");
    ViewWaveColor ^= 0x00FF00;
    View.viewstart = 50;
    View.viewend = 50 + View.visible - 100;
    View.visible -= 100;
    selectAgain();
    ExpectAsRepainted(View, "span");
    View.resize(Width - 10, Height + 10);
    selectAgain();
    ExpectAsRepainted(View, "size");
    Document.closefile();
    selectAgain();
    ExpectAsRepainted(View, "closed");
    View.Background = QImage(30, 30, QImage::Format_RGB32);
    View.Background.fill(Qt::green);
    selectAgain();
    ExpectAsRepainted(View, "background");
    View.Backgroundcolor = 0x445566;
    selectAgain();
    ExpectAsRepainted(View, "background colour");
}

TEST_F(DrawTest, KeysAfterADragDrawTheSelectionAsARepaintDoes) {
    Load(UniformNoise(2 * 8000, 11, -30000, 30000), 2);
    View.MouseDown(Qt::LeftButton, 100, 100);
    View.MouseMove(173, 100);
    View.MouseMove(151, 100);
    View.MouseUp(Qt::LeftButton, 151, 100);
    ASSERT_TRUE(View.selected);
    View.KeyDown(39);
    ExpectAsRepainted(View, "after a drag");
    // A press clears the selection of the previous drag.
    View.MouseDown(Qt::LeftButton, 300, 100);
    ExpectAsRepainted(View, "after a press");
    View.MouseUp(Qt::LeftButton, 300, 100);
}
