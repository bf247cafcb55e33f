// One kaleidoscope pattern: a wedge angle, how many wedges fill the circle, the wedge's outer
// edge and the two clip planes that cut content to the wedge.
#pragma once

struct Wedge {
    float angle;  // degrees
    int count;
    float centre[3];
    float cornerA[3];  // 4 units straight below the centre
    float cornerB[3];  // 4 units out along 270 degrees + angle
    float edgeLength;  // |cornerA - cornerB|
    double plane0[4];  // keeps x >= 0
    double plane1[4];  // keeps the side of the ray at 270 + angle that holds corner A
};

// Fills a wedge from its angle in degrees.
void buildWedge(Wedge &wedge, float angle);
