// Wedge construction. The two constants are the single-precision values the pattern was
// designed with (3pi/2 and the degree-to-radian factor), kept so the geometry is unchanged.
#include "render/wedge.h"

#include <cmath>

namespace {
const double kStraightDown = 4.712385f;      // radians, near 3pi/2
const double kDegreesToRadians = 0.01745328f;  // 0.017453279346227646 as stored
const double kCornerRadius = 4.0;
}  // namespace

void buildWedge(Wedge &wedge, float angle)
{
    const double theta = angle;
    wedge.angle = angle;
    wedge.count = static_cast<int>(360.0 / theta);
    if (360.0 - wedge.count * theta > 0.5)
        ++wedge.count;

    const double a = (theta + 270.0) * kDegreesToRadians;
    const float corners[2][3] = {
        {static_cast<float>(kCornerRadius * std::cos(kStraightDown)),
         static_cast<float>(kCornerRadius * std::sin(kStraightDown)), 0.0f},
        {static_cast<float>(kCornerRadius * std::cos(a)),
         static_cast<float>(kCornerRadius * std::sin(a)), 0.0f}};
    for (int i = 0; i < 3; ++i) {
        wedge.centre[i] = 0.0f;
        wedge.cornerA[i] = corners[0][i];
        wedge.cornerB[i] = corners[1][i];
    }
    const double dx = double(wedge.cornerA[0]) - wedge.cornerB[0];
    const double dy = double(wedge.cornerA[1]) - wedge.cornerB[1];
    wedge.edgeLength = static_cast<float>(std::sqrt(dx * dx + dy * dy));

    const double b = (theta + 270.0 - 90.0) * kDegreesToRadians;
    const double plane0[4] = {1.0, 0.0, 0.0, 0.0};
    const double plane1[4] = {std::cos(b), std::sin(b), 0.0, 0.0};
    for (int i = 0; i < 4; ++i) {
        wedge.plane0[i] = plane0[i];
        wedge.plane1[i] = plane1[i];
    }
}
