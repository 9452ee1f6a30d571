#include "SampleEditFixture.h"

#include "SampleEdits.h"
#include "Settings.h"
#include "TFilter.h"

#include <cmath>
#include <numbers>
#include <random>

namespace {

void BuilderLoadWorker(Twavefile& document) {
    SampleFileLoadWorker(document);
    if (document.loadfailed)
        return;
    const std::vector<int16_t> samples = TableSamples(*document.table);
    document.peakindex = BuilderIndex(samples, document.channels);
    document.updatelevels();
}

} // namespace

Tindexdata BuilderIndex(const std::vector<int16_t>& samples, int32_t channels) {
    TFilter builder(channels);
    builder.Feed(samples.data(), int64_t(samples.size()));
    Tindexdata index;
    builder.GetIndexData(index);
    return index;
}

int16_t ExactRound(int16_t sample, double factor) {
    // factor = mantissa × 2^exponent exactly; the product is (sample × mantissa) × 2^exponent.
    int exponent = 0;
    const double fraction = std::frexp(factor, &exponent);
    const auto mantissa = static_cast<int64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    __int128 product = __int128(sample) * mantissa;
    if (exponent >= 0)
        return static_cast<int16_t>(product << exponent);
    const int shift = -exponent;
    if (shift > 120)
        return 0;
    const bool negative = product < 0;
    const __int128 magnitude = negative ? -product : product;
    const __int128 unit = __int128(1) << shift;
    __int128 whole = magnitude >> shift;
    const __int128 rest = magnitude - (whole << shift);
    if (2 * rest > unit || (2 * rest == unit && (whole & 1) != 0))
        ++whole;
    const auto value = static_cast<int64_t>(negative ? -whole : whole);
    return static_cast<int16_t>(std::clamp<int64_t>(value, -32768, 32767));
}

std::vector<int16_t> ModelFade(std::vector<int16_t> samples, int32_t channels, int64_t start,
                               int64_t end, bool fadeIn) {
    const int64_t n = end - start;
    const double step = static_cast<double>((90.0L / n) * (std::numbers::pi_v<long double> / 180));
    double angle = 0.0;
    for (int64_t k = 0; k < n; ++k) {
        angle += step;
        const double factor = fadeIn ? std::sin(angle) : std::cos(angle);
        for (int32_t c = 0; c < channels; ++c) {
            int16_t& sample = samples[size_t((start + k) * channels + c)];
            sample = ExactRound(sample, factor);
        }
    }
    return samples;
}

std::vector<int16_t> TestSignal(int64_t frames, int32_t channels, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-3000, 3000);
    std::vector<int16_t> samples(size_t(frames * channels));
    for (int64_t f = 0; f < frames; ++f)
        for (int32_t c = 0; c < channels; ++c) {
            const double tone = 26000.0 * std::sin(0.003 * double(f) * (c + 1) + c);
            samples[size_t(f * channels + c)] = static_cast<int16_t>(tone + noise(random));
        }
    for (int64_t f = 37; f < frames; f += 997)
        samples[size_t(f * channels + f % channels)] = (f / 997) % 2 ? int16_t(-32768) : 32767;
    return samples;
}

SampleEditTest::SampleEditTest() {
    SampleEdits::Register();
    TWorkerTable::Register(opload, BuilderLoadWorker);
    SavedTempFolder = Settings.tempfolder;
    Settings.tempfolder = Dir.Path();
}

SampleEditTest::~SampleEditTest() {
    Settings.tempfolder = SavedTempFolder;
}

void SampleEditTest::Load(int32_t channels, const std::vector<int16_t>& samples) {
    const std::string path = Dir.File("source" + std::to_string(++Files) + ".wav");
    WriteSampleFile(path, channels, 44100, samples);
    Document.loadfile(path);
    ASSERT_TRUE(Document.ready);
    ASSERT_FALSE(Document.loadfailed);
}

std::vector<int16_t> SampleEditTest::Samples() {
    return TableSamples(*Document.table);
}
