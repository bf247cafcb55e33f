// Pattern selection and the two-second morph between patterns.
#include "support/gl_window_test.h"

namespace {

class Morph : public GLWindowTest {};

TEST_F(Morph, SecondSelectionStartsFromTheHalfWayAngleAndLastsTwoSeconds)
{
    Kaleidoscope &k = openRenderer(64, 64);
    ASSERT_EQ(k.currentWedge, &k.wedges[1]);  // every run starts with 12 wedges
    k.time = 10.0f;
    k.selectPattern(7, true);  // 30 -> 15 degrees
    k.time = 11.0f;
    k.selectPattern(0, true);  // restarts from half way: 22.5 -> 36 degrees
    EXPECT_FLOAT_EQ(k.wedgeForFrame().angle, 22.5f);
    k.time = 12.0f;
    EXPECT_FLOAT_EQ(k.wedgeForFrame().angle, 22.5f + 0.5f * 13.5f);
    k.time = 13.0f;
    const Wedge &last = k.wedgeForFrame();
    EXPECT_NE(&last, k.currentWedge);  // the final frame still draws the in-between wedge
    EXPECT_FLOAT_EQ(last.angle, 36.0f);
    EXPECT_EQ(&k.wedgeForFrame(), &k.wedges[0]);  // from the next frame on, the pattern itself
}

TEST_F(Morph, WedgeCountFollowsTheEasedAngle)
{
    Kaleidoscope &k = openRenderer(64, 64);
    k.time = 0.0f;
    k.selectPattern(7, true);  // 12 -> 24 wedges
    std::set<int> counts;
    for (int ms = 0; ms <= 2000; ms += 10) {
        k.time = ms / 1000.0f;
        counts.insert(k.wedgeForFrame().count);
    }
    for (int n = 12; n <= 24; ++n)
        EXPECT_TRUE(counts.count(n)) << n << " wedges never drawn";
}

TEST_F(Morph, SelectingTheCurrentPatternChangesNothingVisible)
{
    Kaleidoscope &k = openRenderer(64, 64);
    k.time = 5.0f;
    k.selectPattern(1, true);
    for (float t = 5.0f; t <= 7.5f; t += 0.25f) {
        k.time = t;
        EXPECT_FLOAT_EQ(k.wedgeForFrame().angle, 30.0f);
        EXPECT_EQ(k.wedgeForFrame().count, 12);
    }
}

TEST_F(Morph, UnanimatedSelectionJumpsAndIndexWrapsModEight)
{
    Kaleidoscope &k = openRenderer(64, 64);
    k.selectPattern(8, false);
    EXPECT_EQ(k.currentWedge, &k.wedges[0]);
    EXPECT_EQ(&k.wedgeForFrame(), &k.wedges[0]);
    k.selectPattern(5, false);
    EXPECT_EQ(&k.wedgeForFrame(), &k.wedges[5]);
}

}  // namespace
