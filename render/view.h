// The view every frame is seen through: a camera on the z axis looking at the origin, with a
// 90-degree vertical field of view, so at any depth the view is as high as it is far away.
#pragma once

#include "platform/gl.h"

const double kFieldOfView = 90.0;  // degrees, top to bottom
const double kCameraDistance = 5.5;
const double kNearPlane = 1.0;
const double kFarPlane = 20.0;
// tan(kFieldOfView / 2), written out: std::tan(pi / 4) is a hair below 1.
const double kViewSlope = 1.0;

// Half the height the view sees in the plane at depth z (0 is the plane of the origin).
inline double viewHalfHeight(double z) { return (kCameraDistance - z) * kViewSlope; }

// Loads the camera into the model-view matrix.
inline void placeCamera()
{
    glLoadIdentity();
    gluLookAt(0.0, 0.0, kCameraDistance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}
