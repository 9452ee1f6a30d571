// The waveform view's interaction through Qt's events: clicks, drags in both directions, edge
// grabs, double clicks and keys, and the zoom and scroll-bar state, against hand-computed frames.
#include "WaveViewFixture.h"

#include <QTest>

namespace {

// 800 frames at 8000 Hz over 400 pixels: 2 frames a pixel, 1 ms is 8 frames.
class InputTest : public WaveViewFixture {
protected:
    void SetUp() override {
        Load(std::vector<int16_t>(800, 0));
        Show();
    }
    void Click(int x) { QTest::mouseClick(&View, Qt::LeftButton, {}, QPoint(x, 100)); }
    void Drag(std::initializer_list<int> xs) {
        auto at = xs.begin();
        QTest::mousePress(&View, Qt::LeftButton, {}, QPoint(*at, 100));
        for (++at; at != xs.end(); ++at)
            QTest::mouseMove(&View, QPoint(*at, 100));
        QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(*(xs.end() - 1), 100));
    }
};

constexpr TColor TintedRow111 = 129 | 152 << 8 | 77 << 16;

/// The time ruler of 100 ms over 400 pixels has a dotted grid line every 15 ms, 60 pixels.
bool OnGridLine(int x) {
    return x % 60 == 0;
}

} // namespace

TEST_F(InputTest, ClickMovesTheCursorAndClearsTheSelectionTwice) {
    View.SetSelectionFrames(500, 700, true);
    Click(100);
    EXPECT_EQ(View.cursor, 200u);
    EXPECT_EQ(View.cursorms, 25u);
    ASSERT_FALSE(Cursors.empty());
    EXPECT_EQ(Cursors.back(), std::make_pair(200u, 25u));
    const SelectCall cleared{0, 0, 0, 0, false};
    EXPECT_EQ(Selects, (std::vector<SelectCall>{cleared, cleared}));
    EXPECT_FALSE(View.selected);
    EXPECT_EQ(View.selectionstart, 200u);
    EXPECT_EQ(View.selectionstop, 200u);
    EXPECT_EQ(View.sellayer.Image, View.baselayer.Image);
    EXPECT_TRUE(View.hasFocus());
}

TEST_F(InputTest, SecondClickWithinThreePixelsGrabsTheEmptySelectionsEdge) {
    Click(100);
    Selects.clear();
    Click(103);
    EXPECT_TRUE(View.edgedrag);
    EXPECT_TRUE(View.selected);
    EXPECT_EQ(View.selectionstart, 200u);
    EXPECT_EQ(View.selectionstop, 200u);
    EXPECT_EQ(Selects, (std::vector<SelectCall>{{200, 200, 25, 25, true}}));
}

TEST_F(InputTest, ClickFourPixelsAwayStartsANewSelection) {
    Click(100);
    Selects.clear();
    Click(104);
    EXPECT_FALSE(View.edgedrag);
    EXPECT_FALSE(View.selected);
    EXPECT_EQ(View.cursor, 208u);
    EXPECT_EQ(Selects.size(), 2u);
}

TEST_F(InputTest, DragSelectsAndTintsOnlyTheDraggedColumns) {
    Drag({100, 120, 150});
    EXPECT_TRUE(View.selected);
    EXPECT_EQ(View.selectionstart, 200u);
    EXPECT_EQ(View.selectionstop, 300u);
    // 300 frames are 37.5 ms, rounded to the even 38.
    EXPECT_EQ(Selects.back(), (SelectCall{200, 300, 25, 38, true}));
    EXPECT_EQ(View.cursor, 300u);
    EXPECT_EQ(At(View.finallayer, 99, 111), At(View.baselayer, 99, 111));
    EXPECT_EQ(At(View.finallayer, 100, 111), TintedRow111);
    EXPECT_EQ(At(View.finallayer, 130, 111), TintedRow111);
    EXPECT_EQ(At(View.finallayer, 149, 111), TintedRow111);
    EXPECT_EQ(At(View.finallayer, 150, 111), TWaveView::CursorColor);
    EXPECT_EQ(At(View.sellayer, 150, 111), At(View.baselayer, 150, 111));
    // The drag fires no OnSelect between the press and the release.
    EXPECT_EQ(Selects.size(), 2u);
}

TEST_F(InputTest, DragBackPastThePressPointLeavesNoTintBehind) {
    Drag({100, 150, 170, 50});
    EXPECT_EQ(View.selectionstart, 100u);
    EXPECT_EQ(View.selectionstop, 200u);
    for (int x = 100; x < 400; ++x)
        ASSERT_EQ(At(View.sellayer, x, 111), At(View.baselayer, x, 111)) << x;
    EXPECT_EQ(At(View.sellayer, 49, 111), At(View.baselayer, 49, 111));
    for (int x = 50; x < 100; ++x)
        if (!OnGridLine(x)) {
            ASSERT_EQ(At(View.sellayer, x, 111), TintedRow111) << x;
        }
    // Forward again past the anchor.
    Drag({50, 10, 80});
}

TEST_F(InputTest, PressNearTheStopEdgeDragsThatEdge) {
    Drag({100, 150});
    Selects.clear();
    Drag({147, 180});
    EXPECT_TRUE(View.edgedrag);
    EXPECT_EQ(View.selectionstart, 200u);
    EXPECT_EQ(View.selectionstop, 360u);
    EXPECT_EQ(Selects, (std::vector<SelectCall>{{200, 360, 25, 45, true}}));
    for (int x = 100; x < 180; ++x)
        if (!OnGridLine(x)) {
            ASSERT_EQ(At(View.sellayer, x, 111), TintedRow111) << x;
        }
    EXPECT_EQ(At(View.sellayer, 180, 111), At(View.baselayer, 180, 111));
}

TEST_F(InputTest, PressNearTheStartEdgeDragsItAcrossTheAnchor) {
    Drag({100, 150});
    Drag({98, 170});
    EXPECT_EQ(View.selectionstart, 300u);
    EXPECT_EQ(View.selectionstop, 340u);
    for (int x = 100; x < 150; ++x)
        ASSERT_EQ(At(View.sellayer, x, 111), At(View.baselayer, x, 111)) << x;
    for (int x = 150; x < 170; ++x)
        if (!OnGridLine(x)) {
            ASSERT_EQ(At(View.sellayer, x, 111), TintedRow111) << x;
        }
}

TEST_F(InputTest, DragPastTheRightEdgeStopsAtTheWaveWidth) {
    Drag({300, 450});
    EXPECT_EQ(View.selectionstart, 600u);
    EXPECT_EQ(View.selectionstop, 800u);
    EXPECT_EQ(View.cursor, 800u);
}

TEST_F(InputTest, DoubleClickSelectsTheWholeDocument) {
    // A double click reaches a widget as press, release, double click, release.
    Click(100);
    QTest::mouseDClick(&View, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_TRUE(View.doubleclicked);
    EXPECT_EQ(View.cursor, 200u); // the second press acts as a click
    QTest::mouseRelease(&View, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_TRUE(View.selected);
    EXPECT_EQ(View.selectionstart, 0u);
    EXPECT_EQ(View.selectionstop, 800u);
    EXPECT_EQ(Selects.back(), (SelectCall{0, 800, 0, 100, true}));
    EXPECT_FALSE(View.doubleclicked);
    EXPECT_EQ(At(View.sellayer, 5, 111), TintedRow111);
}

TEST_F(InputTest, PointerShapeNearTheEdges) {
    Drag({100, 150});
    QTest::mouseMove(&View, QPoint(148, 100));
    EXPECT_EQ(View.QWidget::cursor().shape(), Qt::SizeHorCursor);
    QTest::mouseMove(&View, QPoint(160, 100));
    EXPECT_EQ(View.QWidget::cursor().shape(), Qt::ArrowCursor);
}

TEST_F(InputTest, ArrowKeysStepByWholeFramesPerPixel) {
    struct Step {
        Qt::Key Key;
        uint32_t Cursor;
    };
    const Step steps[] = {{Qt::Key_Left, 0},  {Qt::Key_Right, 2},   {Qt::Key_Right, 4},
                          {Qt::Key_End, 800}, {Qt::Key_Right, 800}, {Qt::Key_Left, 798},
                          {Qt::Key_Home, 0},  {Qt::Key_A, 0}};
    for (const Step& step : steps) {
        Cursors.clear();
        QTest::keyClick(&View, step.Key);
        EXPECT_EQ(View.cursor, step.Cursor) << step.Key;
        ASSERT_EQ(Cursors.size(), 1u) << step.Key;
        EXPECT_EQ(Cursors[0].first, step.Cursor);
        EXPECT_EQ(Cursors[0].second, uint32_t(View.FramesToMs(step.Cursor)));
    }
}

TEST_F(InputTest, ArrowStepIsTheTruncatedFramesPerPixel) {
    Load(std::vector<int16_t>(1480, 0)); // 3.7 frames a pixel become 3
    QTest::keyClick(&View, Qt::Key_Right);
    EXPECT_EQ(View.cursor, 3u);
    Load(std::vector<int16_t>(100, 0)); // zoomed in: one frame
    QTest::keyClick(&View, Qt::Key_Right);
    QTest::keyClick(&View, Qt::Key_Right);
    EXPECT_EQ(View.cursor, 2u);
}

TEST_F(InputTest, NothingHappensWhileTheDocumentIsNotReady) {
    Document.ready = false;
    int keys = 0;
    View.OnKeyDown = [&](TWaveView&, int32_t) { ++keys; };
    QTest::keyClick(&View, Qt::Key_End);
    Click(100);
    View.ZoomIn();
    View.StartPlayback();
    EXPECT_EQ(keys, 1);
    EXPECT_TRUE(Cursors.empty());
    EXPECT_TRUE(Selects.empty());
    EXPECT_EQ(View.visible, 800u);
    EXPECT_FALSE(View.Player().IsPlaying());
    Document.ready = true;
}

TEST_F(InputTest, SetDocumentFitsTheViewAndTheScrollBar) {
    View.SetSelectionFrames(10, 20, true);
    View.SetCursorFrame(30);
    Cursors.clear();
    View.SetDocument(&Document);
    EXPECT_EQ(View.viewstart, 0u);
    EXPECT_EQ(View.viewend, 800u);
    EXPECT_EQ(View.visible, 800u);
    EXPECT_FALSE(View.selected);
    EXPECT_EQ(View.cursor, 0u);
    EXPECT_EQ(Cursors, (std::vector<std::pair<uint32_t, uint32_t>>{{0, 0}}));
    EXPECT_TRUE(Selects.empty());
    EXPECT_EQ(Bar.Max(), 800);
    EXPECT_EQ(Bar.PageSize(), 800);
    EXPECT_EQ(Bar.Position(), 0);
}

TEST_F(InputTest, SelectionByMillisecondsAndClampedToTheEnd) {
    View.SetSelectionMs(10, 20, true);
    EXPECT_EQ(View.selectionstart, 80u);
    EXPECT_EQ(View.selectionstop, 160u);
    View.SetSelectionFrames(100, 5000, true);
    EXPECT_EQ(View.selectionstop, 800u);
    EXPECT_TRUE(Selects.empty());
    EXPECT_EQ(View.MsToFrames(1), 8);
    EXPECT_EQ(View.FramesToMs(4), 0);  // 0.5 ms rounds to the even 0
    EXPECT_EQ(View.FramesToMs(12), 2); // 1.5 ms rounds to the even 2
}

TEST_F(InputTest, ZoomInCentresOnTheCursor) {
    struct Case {
        uint32_t Cursor, Start, End;
    };
    for (const Case& c : {Case{0, 0, 533}, Case{799, 267, 800}, Case{400, 134, 667}}) {
        View.ZoomFull();
        View.SetCursorFrame(c.Cursor);
        View.ZoomIn();
        EXPECT_EQ(View.visible, 533u);
        EXPECT_EQ(View.viewstart, c.Start) << c.Cursor;
        EXPECT_EQ(View.viewend, c.End) << c.Cursor;
        EXPECT_EQ(Bar.PageSize(), 533);
        EXPECT_EQ(Bar.Position(), int(c.Start));
        EXPECT_EQ(Bar.SmallChange(), 5);   // 533 / 400 frames a pixel truncate to 1
        EXPECT_EQ(Bar.LargeChange(), 533); // a page
    }
}

TEST_F(InputTest, ZoomNearTheEndKeepsTheViewAtTheEnd) {
    // 533 frames around 534 would end at 801, past the document.
    for (const uint32_t cursor : {534u, 535u, 799u, 800u}) {
        View.ZoomFull();
        View.SetCursorFrame(cursor);
        View.ZoomIn();
        EXPECT_EQ(View.visible, 533u) << cursor;
        EXPECT_EQ(View.viewstart, 267u) << cursor;
        EXPECT_EQ(View.viewend, 800u) << cursor;
    }
    View.ZoomFull();
    View.SetCursorFrame(533); // 267 … 799 fits
    View.ZoomIn();
    EXPECT_EQ(View.viewstart, 267u);
    EXPECT_EQ(View.viewend, 800u);
    View.SetCursorFrame(400);
    View.ZoomIn(); // 355 frames
    View.SetCursorFrame(623);
    View.ZoomOut(); // 532 from 623 − 266 would end at 889
    EXPECT_EQ(View.viewstart, 268u);
    EXPECT_EQ(View.viewend, 800u);
}

TEST_F(InputTest, LargeStepIsAPageOfALongDocument) {
    Load(std::vector<int16_t>(200000, 0));
    QObject::connect(&Bar, &QScrollBar::valueChanged, &View, [this] { View.ScrollToBar(); });
    View.ZoomIn();
    View.ZoomIn(); // 133333, then 88889 frames
    ASSERT_EQ(View.visible, 88889u);
    EXPECT_EQ(Bar.LargeChange(), 88889);
    EXPECT_EQ(Bar.SmallChange(), 5 * 222); // 88889 / 400 truncates to 222
    Bar.SetPosition(0);
    Bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Bar.Position(), 88889);
    EXPECT_EQ(View.viewstart, 88889u);
    View.ZoomFull();
    EXPECT_EQ(Bar.LargeChange(), 200000);
}

TEST_F(InputTest, OnlyTheLeftButtonsDoubleClickSelectsTheWholeDocument) {
    int x = 50;
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(&View, button, {}, QPoint(100, 100));
        QTest::mouseDClick(&View, button, {}, QPoint(100, 100));
        QTest::mouseRelease(&View, button, {}, QPoint(100, 100));
        EXPECT_FALSE(View.doubleclicked) << button;
        EXPECT_FALSE(View.selected) << button;
        // A later left click is a click, not the end of a double click.
        Click(x);
        EXPECT_FALSE(View.selected) << button;
        EXPECT_EQ(View.cursor, uint32_t(2 * x));
        x += 30;
    }
}

TEST_F(InputTest, ZoomKeepsItsCentreWhenTheBarMovesTheView) {
    // The owner scrolls the view whenever the bar moves, also when a new page size moves it.
    QObject::connect(&Bar, &QScrollBar::valueChanged, &View, [this] { View.ScrollToBar(); });
    View.ZoomIn();
    View.ZoomIn(); // 355 frames from 0
    Bar.SetPosition(445);
    ASSERT_EQ(View.viewstart, 445u);
    ASSERT_EQ(View.viewend, 800u);
    // 532 frames around 100 start at 0; the larger page first pulls the bar back to 269.
    View.SetCursorFrame(100);
    View.ZoomOut();
    EXPECT_EQ(View.viewstart, 0u);
    EXPECT_EQ(View.viewend, 532u);
    EXPECT_EQ(Bar.Position(), 0);
    View.SetCursorFrame(600);
    View.ZoomIn(); // 355 frames centred on 600
    EXPECT_EQ(View.viewstart, 423u);
    EXPECT_EQ(View.viewend, 778u);
    EXPECT_EQ(Bar.Position(), 423);
}

TEST_F(InputTest, ZoomStopsAtFifteenFramesAndAtTheWholeDocument) {
    Load(std::vector<int16_t>(16, 0));
    View.ZoomIn();
    EXPECT_EQ(View.visible, 11u); // Round(10.67)
    View.ZoomIn();
    EXPECT_EQ(View.visible, 11u);
    View.ZoomOut();
    EXPECT_EQ(View.visible, 16u); // Round(16.5) to the even 16
    View.ZoomOut();
    EXPECT_EQ(View.visible, 16u);
}

TEST_F(InputTest, ZoomOutIsLimitedToTheDocument) {
    View.ZoomIn();
    View.ZoomIn(); // 533, then 355
    EXPECT_EQ(View.visible, 355u);
    View.ZoomOut(); // 532.5 rounds to 532
    EXPECT_EQ(View.visible, 532u);
    View.ZoomOut(); // 798
    View.ZoomOut(); // 1197, lowered to 800
    EXPECT_EQ(View.visible, 800u);
    EXPECT_EQ(View.viewstart, 0u);
}

TEST_F(InputTest, ZoomFullOfAShortDocumentHasNoSmallStep) {
    Load(std::vector<int16_t>(150, 0));
    View.ZoomFull();
    EXPECT_EQ(Bar.SmallChange(), 0); // 300 div 400
    EXPECT_EQ(Bar.LargeChange(), 150);
    Load(std::vector<int16_t>(80000, 0));
    View.ZoomFull();
    EXPECT_EQ(Bar.SmallChange(), 400);
    EXPECT_EQ(Bar.LargeChange(), 80000);
}

TEST_F(InputTest, ScrollBarMovesTheViewAndStopsAtTheEnd) {
    Load(std::vector<int16_t>(8000, 0));
    QObject::connect(&Bar, &QScrollBar::valueChanged, &View, [this] { View.ScrollToBar(); });
    View.ZoomIn();
    View.ZoomIn(); // 5333, then 3555
    ASSERT_EQ(View.visible, 3555u);
    Bar.SetPosition(1000);
    EXPECT_EQ(View.viewstart, 1000u);
    EXPECT_EQ(View.viewend, 4555u);
    Bar.SetPosition(Bar.maximum());
    EXPECT_EQ(Bar.maximum(), 8000 - 3555 + 1);
    EXPECT_EQ(View.viewend, 8000u);
    EXPECT_EQ(View.viewstart, 4445u);
    // Steps of the bar: an arrow moves SmallChange, a click beside the thumb LargeChange.
    Bar.SetPosition(0);
    Bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Bar.Position(), Bar.SmallChange());
    Bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Bar.LargeChange(), 3555); // a page
    EXPECT_EQ(Bar.Position(), Bar.SmallChange() + 3555);
    EXPECT_EQ(View.viewstart, uint32_t(Bar.SmallChange() + 3555));
}

TEST_F(InputTest, RepaintPullsTheViewAndCursorBackIntoAShorterDocument) {
    View.SetCursorFrame(700);
    Load(std::vector<int16_t>(800, 0));
    View.SetCursorFrame(700);
    View.viewstart = 600;
    View.viewend = 800;
    View.visible = 200;
    Document.frames = 500; // as after an edit that shortened the document
    Cursors.clear();
    View.Repaint();
    EXPECT_EQ(View.viewstart, 0u);
    EXPECT_EQ(View.viewend, 500u);
    EXPECT_EQ(View.cursor, 500u);
    EXPECT_EQ(Cursors.size(), 1u);
    Document.frames = 800;
}
