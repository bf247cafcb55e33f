// Shared by the generators of the masks and the icons, which draw with soft edges.
#pragma once
#include <algorithm>

const double kPi = 3.14159265358979323846;

// 0 below edge0, 1 above edge1, a smooth S-curve between.
inline double smoothstep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}
