#pragma once

#include <cstdint>

/// Where the waveform view's ruler puts its labelled ticks: the step between two labels in
/// frames (sample ruler) or in milliseconds (time ruler), chosen so that about six labels fit the
/// visible span, and the first tick at or left of the view's start. Pure arithmetic.
class TRulerScale {
public:
    /// Ticks of the sample ruler.
    struct TSampleTicks {
        uint32_t Step;     ///< frames from one label to the next, at least 1
        uint32_t Count;    ///< labels after the first one
        int32_t PixelStep; ///< pixels from one label to the next
        uint32_t First;    ///< frame of the first label
        int32_t FirstX;    ///< x of the first label (0 or negative)
    };
    /// Ticks of the time ruler.
    struct TTimeTicks {
        int64_t Step;      ///< milliseconds from one label to the next
        int32_t PixelStep; ///< pixels from one label to the next (at least 1)
        int64_t First;     ///< milliseconds of the first label
        int32_t FirstX;    ///< x of the first label (0 or negative)
        int32_t Count;     ///< labels after the first one that start inside the width
    };

    /// Frames between labels for `visible` frames.
    static uint32_t SampleStep(uint32_t visible);
    /// Milliseconds between labels for a span of `span` milliseconds.
    static int64_t TimeStep(double span);

    static TSampleTicks SampleTicks(uint32_t viewStart, uint32_t viewEnd, double samplesPerPixel);
    static TTimeTicks TimeTicks(uint32_t viewStart, uint32_t viewEnd, int32_t sampleRate,
                                int32_t waveWidth);
};
