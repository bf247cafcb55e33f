// The one shape the drift scene draws with: a flat quad showing a window of a texture.
#pragma once

#include "platform/gl.h"

// The part of a texture a quad shows: s from s0 to s0 + width, t from t0 to t0 + height.
struct TextureWindow {
    double s0, t0, width, height;
};

// The four corners of one quad of that half-size about the origin of the plane z = 0, from its
// lower left corner counter-clockwise, showing the window upright: t0 along the top edge. Goes
// between glBegin(GL_QUADS) and glEnd, after whatever else the quad's vertices carry.
inline void texturedQuadCorners(float halfWidth, float halfHeight, const TextureWindow &window)
{
    // Sums in double, each coordinate rounded once to the float the GL stores.
    const float s0 = static_cast<float>(window.s0), t0 = static_cast<float>(window.t0);
    const float s1 = static_cast<float>(window.s0 + window.width);
    const float t1 = static_cast<float>(window.t0 + window.height);
    glTexCoord2f(s0, t1);
    glVertex3f(-halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(s1, t1);
    glVertex3f(halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(s1, t0);
    glVertex3f(halfWidth, halfHeight, 0.0f);
    glTexCoord2f(s0, t0);
    glVertex3f(-halfWidth, halfHeight, 0.0f);
}

// One such quad in the current colour.
inline void drawTexturedQuad(float halfWidth, float halfHeight, const TextureWindow &window)
{
    glBegin(GL_QUADS);
    texturedQuadCorners(halfWidth, halfHeight, window);
    glEnd();
}
