#include "u3d/histogram.h"

#include "plainDecoder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using u3d::histogramC;
using u3dtest::plainModelS;

void expectSame(const histogramC& h, const plainModelS& m, uint32_t probe) {
    ASSERT_EQ(h.total(), m.total);
    EXPECT_EQ(h.frequency(probe), m.counts[probe]);
    EXPECT_EQ(h.cumulative(probe), m.cumulative(probe));
    // Every cumulative frequency leads back to the symbol whose range holds it.
    for (uint32_t target : {0u, m.total / 3, m.total / 2, m.total - 1}) {
        uint32_t below = 0;
        const uint32_t symbol = h.find(target, below);
        EXPECT_EQ(below, m.cumulative(symbol));
        EXPECT_LE(below, target);
        EXPECT_GT(below + m.counts[symbol], target);
    }
}

TEST(HistogramTest, MatchesThePlainModelThroughGrowthAndHalving) {
    std::mt19937 random(7);
    histogramC h;
    plainModelS m;
    // Small symbols often, some far ones (the tree doubles up to 65536
    // entries), some too large to count; 40 000 adds halve many times.
    std::geometric_distribution<uint32_t> small(0.05);
    for (int i = 0; i < 40000; ++i) {
        uint32_t symbol = small(random);
        if (i % 97 == 0)
            symbol = random() % 0x10000;
        if (i % 501 == 0)
            symbol = 0x10000 + random() % 1000;
        h.add(symbol);
        m.add(symbol);
        if (i % 37 == 0)
            expectSame(h, m, symbol % 0x10000);
        if (HasFailure())
            FAIL() << "after " << i << " symbols";
    }
    EXPECT_EQ(h.frequency(0x10000), 0u);
    EXPECT_EQ(h.cumulative(0x10000), h.total());
}

TEST(HistogramTest, StartsWithTheEscapeAlone) {
    histogramC h;
    EXPECT_EQ(h.total(), 1u);
    EXPECT_EQ(h.frequency(0), 1u);
    EXPECT_EQ(h.frequency(5), 0u);
    uint32_t below = 99;
    EXPECT_EQ(h.find(0, below), 0u);
    EXPECT_EQ(below, 0u);
}

}  // namespace
