#include "WaveViewFixture.h"

#include "Settings.h"

#include <QApplication>
#include <QTest>

WaveViewFixture::WaveViewFixture() {
    Settings.tempfolder = Dir.Path();
    View.resize(Width, Height);
    View.scrollbar = &Bar;
    View.OnCursor = [this](TWaveView&, uint32_t position, uint32_t positions) {
        Cursors.emplace_back(position, positions);
    };
    View.OnSelect = [this](TWaveView&, uint32_t start, uint32_t stop, uint32_t startms,
                           uint32_t stopms, bool selected) {
        Selects.push_back({start, stop, startms, stopms, selected});
    };
}

void WaveViewFixture::Load(const std::vector<int16_t>& samples, int32_t channels, int32_t rate) {
    const std::string path = Dir.File("source.wav");
    WriteSampleFile(path, channels, rate, samples);
    Document.loadfile(path);
    ASSERT_TRUE(Document.ready);
    Document.setview(&View);
    View.SetDocument(&Document);
    Cursors.clear();
    Selects.clear();
}

void WaveViewFixture::Show() {
    View.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&View));
    QApplication::processEvents();
    Cursors.clear();
    Selects.clear();
}

TColor At(const TBitmap32& layer, int x, int y) {
    return layer.Pixel(x, y);
}
