#include "Tindexdata.h"

#include <gtest/gtest.h>

// Indexes below and above the size that gets pages of its own hold, copy and grow alike.
TEST(TIndexAllocator, SmallAndLargeIndexesHoldTheirElements) {
    for (size_t elements : {size_t(3), size_t(1) << 16, size_t(1) << 20}) {
        SCOPED_TRACE(elements);
        Tindexdata index(elements);
        for (size_t i = 0; i < elements; ++i)
            index[i] = MakeIndexElement(int16_t(i), int16_t(-int32_t(i % 30000)));
        const Tindexdata copy = index;
        index.resize(elements * 3, MakeIndexElement(1, -1));
        EXPECT_TRUE(std::equal(copy.begin(), copy.end(), index.begin()));
        EXPECT_EQ(index.back(), MakeIndexElement(1, -1));
        EXPECT_EQ(copy[elements - 1], MakeIndexElement(int16_t(elements - 1),
                                                       int16_t(-int32_t((elements - 1) % 30000))));
    }
}
