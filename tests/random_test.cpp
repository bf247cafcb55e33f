// The random fraction: 15-bit draws on every platform.
#include "render/random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

TEST(Random, FractionStaysBelowOneAndTruncationCoversEveryIndex)
{
    seedRandom(123);
    std::set<int> indices;
    double largest = 0;
    for (int i = 0; i < 200000; ++i) {
        const double r = randomFraction();
        ASSERT_GE(r, 0.0);
        ASSERT_LE(r, 1.0 - std::ldexp(1.0, -30));
        largest = std::max(largest, r);
        indices.insert(static_cast<int>(r * 8));
    }
    EXPECT_EQ(indices, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_GT(largest, 0.999);  // the whole range is reached, not just its start
}

TEST(Random, DrawsAreFifteenBitAndRepeatForTheSameSeed)
{
    seedRandom(42);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(nextRandom());
        ASSERT_GE(first.back(), 0);
        ASSERT_LE(first.back(), 32767);
    }
    seedRandom(42);
    for (int value : first)
        EXPECT_EQ(nextRandom(), value);
}

}  // namespace
