#include "GainKernels.h"

#include "FadeKernels.h"
#include "TGainTable.h"

#include <gtest/gtest.h>

#include <numeric>
#include <utility>
#include <vector>

namespace {

/// Every variant of the gain kernels this build has on this processor, by name.
std::vector<std::pair<const char*, const GainKernels*>> GainVariants() {
    std::vector<std::pair<const char*, const GainKernels*>> variants{{"plain", &PlainGainKernels}};
#if defined(__x86_64__)
    if (HasAvx())
        variants.emplace_back("AVX", &AvxGainKernels);
#endif
    return variants;
}

/// The gains of amplify from −300 % to 1000 % and of normalising to 100 % and 37 % of a few peaks.
std::vector<float> Gains() {
    std::vector<float> gains;
    for (int32_t percent = -300; percent <= 1000; percent += 7)
        gains.push_back(TGainTable::AmplifyGain(percent));
    for (const int16_t peak : {1, 3, 100, 8191, 16384, 20001, 32767})
        for (const int32_t percent : {100, 37})
            gains.push_back(TGainTable::NormalizeGain(percent, peak));
    return gains;
}

} // namespace

TEST(GainKernels, EveryVariantGivesTheTableOnAllSampleValues) {
    std::vector<int16_t> samples(65536);
    std::iota(samples.begin(), samples.end(), int16_t(-32768));
    std::vector<int16_t> table;
    for (const float gain : Gains()) {
        TGainTable::Build(gain, table);
        std::vector<int16_t> expected(samples.size());
        for (size_t i = 0; i < samples.size(); ++i)
            expected[i] = table[size_t(samples[i] + 32768)];
        for (const auto& [name, kernels] : GainVariants()) {
            SCOPED_TRACE(name);
            std::vector<int16_t> out(samples.size(), 77);
            kernels->Apply(table.data() + 32768, gain, samples.data(), out.data(), 65536);
            ASSERT_EQ(out, expected) << "gain " << gain;
            // In place, over a count that ends with a partial vector step.
            std::vector<int16_t> inPlace(samples.begin() + 5, samples.end());
            kernels->Apply(table.data() + 32768, gain, inPlace.data(), inPlace.data(), 65531);
            ASSERT_TRUE(std::equal(inPlace.begin(), inPlace.end(), expected.begin() + 5))
                << "gain " << gain;
        }
    }
}
