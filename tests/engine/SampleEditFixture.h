#pragma once

#include "FakeUserInterface.h"
#include "TestDocument.h"
#include "TestFiles.h"
#include "Twavefile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

/// The peak index of interleaved samples as the peak index builder makes it from scratch.
Tindexdata BuilderIndex(const std::vector<int16_t>& samples, int32_t channels);

/// The nearest integer to the exact product sample × factor, ties to even, worked out with
/// integer arithmetic on the factor's mantissa (no floating-point rounding involved).
int16_t ExactRound(int16_t sample, double factor);

/// A plain model of the fades: frame k of the range scaled by sin or cos of the sum of k + 1
/// steps of (90 / n) × (π / 180), summed one by one.
std::vector<int16_t> ModelFade(std::vector<int16_t> samples, int32_t channels, int64_t start,
                               int64_t end, bool fadeIn);

/// Reproducible test audio: a mix of tones and noise per channel, with full-scale extremes
/// (32767 and −32768) sprinkled in.
std::vector<int16_t> TestSignal(int64_t frames, int32_t channels, uint32_t seed);

/// A document loaded from a sample file whose peak index and levels come from the peak index
/// builder, as after a real load; the sample-processing workers are registered while it lives.
class SampleEditTest : public testing::Test {
protected:
    SampleEditTest();
    ~SampleEditTest() override;

    /// Loads `samples` (interleaved) as a 44.1 kHz document.
    void Load(int32_t channels, const std::vector<int16_t>& samples);
    /// The document's samples, read through its table.
    std::vector<int16_t> Samples();

    SavedWorkers Workers;
    FakeUserInterface Ui;
    TempDir Dir;
    Twavefile Document;
    std::string SavedTempFolder;
    int Files = 0;
};
