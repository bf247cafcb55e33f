// The eight patterns and wedge construction.
#include "render/wedge.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Whether a point is kept by a clip plane (a x + b y + c z + d >= 0).
bool keeps(const double plane[4], double x, double y)
{
    return plane[0] * x + plane[1] * y + plane[3] >= 0.0;
}

TEST(Wedge, PatternTableHasTenToTwentyFourWedgesWithTheirEdgeLengths)
{
    const float edges[8] = {2.472135f, 2.070552f, 1.780167f, 1.560722f,
                            1.389185f, 1.251476f, 1.138519f, 1.044210f};
    for (int k = 0; k < 8; ++k) {
        Wedge wedge;
        const int n = 10 + 2 * k;
        buildWedge(wedge, 360.0f / n);
        EXPECT_EQ(wedge.count, n) << "pattern " << k;
        EXPECT_NEAR(wedge.edgeLength, edges[k], 1e-5) << "pattern " << k;
        EXPECT_NEAR(wedge.cornerA[0], 0.0, 2e-5);  // 4.712385 is a hair short of 3 pi / 2
        EXPECT_NEAR(wedge.cornerA[1], -4.0, 1e-5);
    }
}

TEST(Wedge, CountRoundsUpOnlyWhenMoreThanHalfADegreeIsLeft)
{
    Wedge wedge;
    buildWedge(wedge, 36.0f);
    EXPECT_EQ(wedge.count, 10);
    buildWedge(wedge, std::nextafter(36.0f, 37.0f));  // 360 / angle just below 10
    EXPECT_EQ(wedge.count, 10);
    buildWedge(wedge, 31.0f);  // 360 - 11 x 31 = 19
    EXPECT_EQ(wedge.count, 12);
    buildWedge(wedge, 359.6f);  // 0.4 left is not enough
    EXPECT_EQ(wedge.count, 1);
    buildWedge(wedge, 359.5f);  // nor is exactly 0.5
    EXPECT_EQ(wedge.count, 1);
}

TEST(Wedge, PlanesKeepExactlyTheWedgeFromStraightDownAnticlockwise)
{
    for (float angle : {90.0f, 30.0f}) {
        Wedge wedge;
        buildWedge(wedge, angle);
        for (double at = 3.75; at < 360; at += 7.5) {  // never on an edge itself
            const double x = std::cos(at * M_PI / 180), y = std::sin(at * M_PI / 180);
            EXPECT_EQ(keeps(wedge.plane0, x, y) && keeps(wedge.plane1, x, y),
                      at > 270 && at < 270 + angle)
                << angle << " degree wedge, point at " << at << " degrees";
        }
    }
}

}  // namespace
