#include "TRulerScale.h"

#include "ViewMath.h"

#include <cmath>

uint32_t TRulerScale::SampleStep(uint32_t visible) {
    const uint32_t a = uint32_t(std::trunc(visible / 6.0));
    const uint32_t base = visible <= 10000 ? 500 : 5000;
    uint32_t step = (a / base) * base;
    if (step == 0)
        step = a;
    if (step == 0)
        step = 1;
    return step;
}

int64_t TRulerScale::TimeStep(double span) {
    int64_t a = int64_t(std::trunc(span / 6.0));
    if (a < 5)
        a = a > 0 ? 5 : 1;
    const int64_t base = a > 300000 ? 300 : a > 60000 ? 60 : 5;
    int64_t m = 1;
    while (a / (base * m) > 0)
        m *= 10;
    if (m >= 10)
        m /= 10;
    int64_t step = a - a % (base * m);
    if (step == 0)
        step = a;
    return step;
}

TRulerScale::TSampleTicks TRulerScale::SampleTicks(uint32_t viewStart, uint32_t viewEnd,
                                                   double samplesPerPixel) {
    TSampleTicks ticks{};
    const uint32_t visible = viewEnd - viewStart;
    ticks.Step = SampleStep(visible);
    ticks.Count = visible / ticks.Step;
    ticks.PixelStep = TruncPixel(ticks.Step / samplesPerPixel);
    ticks.First = (viewStart / ticks.Step) * ticks.Step;
    ticks.FirstX = TruncPixel((double(ticks.First) - double(viewStart)) / samplesPerPixel);
    return ticks;
}

TRulerScale::TTimeTicks TRulerScale::TimeTicks(uint32_t viewStart, uint32_t viewEnd,
                                               int32_t sampleRate, int32_t waveWidth) {
    TTimeTicks ticks{};
    const double rate = sampleRate > 0 ? sampleRate : 1.0;
    const double t0 = viewStart / rate * 1000.0;
    const double t1 = viewEnd / rate * 1000.0;
    const double span = t1 - t0;
    ticks.Step = TimeStep(span);
    double msPerPixel = span / waveWidth;
    if (msPerPixel == 0.0)
        msPerPixel = 1e-10;
    // A step narrower than a pixel still moves one pixel, so the ticks end.
    ticks.PixelStep = std::max(RoundPixel(ticks.Step / msPerPixel), 1);
    ticks.First = int64_t(std::nearbyint(t0 / ticks.Step)) * ticks.Step;
    ticks.FirstX = RoundPixel((ticks.First - t0) / msPerPixel);
    if (ticks.FirstX > 0) {
        ticks.FirstX -= ticks.PixelStep;
        ticks.First -= ticks.Step;
    }
    const int64_t room = int64_t(waveWidth) - 1 - ticks.FirstX;
    ticks.Count = room > 0 ? int32_t(room / ticks.PixelStep) : 0;
    return ticks;
}
