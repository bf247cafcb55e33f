// The one shape the drift scene draws with: a flat quad showing a window of a texture.
#pragma once

#include "platform/gl.h"

// The part of a texture a quad shows: s from s0 to s0 + width, t from t0 to t0 + height.
struct TextureWindow {
    double s0, t0, width, height;
};

// The four corners of one quad of that half-size about the origin of the plane z = 0, from its
// lower left corner counter-clockwise, showing the window upright: t0 along the top edge. Each
// corner's texture coordinate goes to the GL, then its (x, y) to `corner`, which gives the
// vertex. Goes between glBegin(GL_QUADS) and glEnd, after whatever else the vertices carry.
template <typename Corner>
inline void texturedQuadCorners(float halfWidth, float halfHeight, const TextureWindow &window,
                                Corner corner)
{
    // Sums in double, each coordinate rounded once to the float the GL stores.
    const float s0 = static_cast<float>(window.s0), t0 = static_cast<float>(window.t0);
    const float s1 = static_cast<float>(window.s0 + window.width);
    const float t1 = static_cast<float>(window.t0 + window.height);
    glTexCoord2f(s0, t1);
    corner(-halfWidth, -halfHeight);
    glTexCoord2f(s1, t1);
    corner(halfWidth, -halfHeight);
    glTexCoord2f(s1, t0);
    corner(halfWidth, halfHeight);
    glTexCoord2f(s0, t0);
    corner(-halfWidth, halfHeight);
}

// One such quad in the current colour, in the current matrix's plane z = 0.
inline void drawTexturedQuad(float halfWidth, float halfHeight, const TextureWindow &window)
{
    glBegin(GL_QUADS);
    texturedQuadCorners(halfWidth, halfHeight, window,
                        [](float x, float y) { glVertex3f(x, y, 0.0f); });
    glEnd();
}
