// The one shape the drift scene draws with: a flat quad showing a window of a texture.
#pragma once

#include "platform/gl.h"

// The part of a texture a quad shows: s from s0 to s0 + width, t from t0 to t0 + height.
struct TextureWindow {
    double s0, t0, width, height;
};

// One quad of that half-size about the origin of the plane z = 0, from its lower left corner
// counter-clockwise, showing the window upright: t0 along the top edge.
inline void drawTexturedQuad(float halfWidth, float halfHeight, const TextureWindow &window)
{
    const double s1 = window.s0 + window.width, t1 = window.t0 + window.height;
    glBegin(GL_QUADS);
    glTexCoord2d(window.s0, t1);
    glVertex3f(-halfWidth, -halfHeight, 0.0f);
    glTexCoord2d(s1, t1);
    glVertex3f(halfWidth, -halfHeight, 0.0f);
    glTexCoord2d(s1, window.t0);
    glVertex3f(halfWidth, halfHeight, 0.0f);
    glTexCoord2d(window.s0, window.t0);
    glVertex3f(-halfWidth, halfHeight, 0.0f);
    glEnd();
}
