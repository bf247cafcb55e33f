// The backdrop behind the wedges: a turning gradient, two cross-fading cloud layers zooming
// endlessly inwards, and a faint logo; then the GL state the discs are drawn with.
#include "scene/drift_scene.h"

#include "platform/gl.h"
#include "render/kaleidoscope.h"

#include <cmath>

namespace {

const double kGradientTurn = 8.0;   // degrees per second
const double kCloudTurn = 1.5;      // degrees per second
const double kCloudCycle = 0.2;     // cycles per second: one zoom every five seconds
const double kCloudReach = 7.75;    // cloud quad half-size, per unit of window aspect
const double kDiscFrameTurn = -1.0; // degrees per second: discs turn backwards
const float kLogoAlpha = 0.3f;
const double kFullTurn = 360.0;

// The gradient: black above, pale blue below, on a far plane turning about the view axis.
void drawGradient(double t)
{
    glPushMatrix();
    glRotatef(turnAngle(t, kGradientTurn), 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glColor3f(0.0f, 0.0f, 0.0f);
    glVertex3f(-32.0f, 32.0f, -10.0f);
    glVertex3f(32.0f, 32.0f, -10.0f);
    glColor3f(0.75f, 0.75f, 1.0f);
    glVertex3f(32.0f, -32.0f, -10.0f);
    glVertex3f(-32.0f, -32.0f, -10.0f);
    glEnd();
    glPopMatrix();
}

// A unit quad showing the texture window (s0, t0, w, h) in white at the given alpha.
void drawTexturedQuad(double s0, double t0, double w, double h, double alpha)
{
    glColor4f(1.0f, 1.0f, 1.0f, static_cast<float>(alpha));
    glBegin(GL_QUADS);
    glTexCoord2d(s0, t0 + h);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glTexCoord2d(s0 + w, t0 + h);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glTexCoord2d(s0 + w, t0);
    glVertex3f(1.0f, 1.0f, 0.0f);
    glTexCoord2d(s0, t0);
    glVertex3f(-1.0f, 1.0f, 0.0f);
    glEnd();
}

// The two cloud layers, half a cycle apart, so one is fully seen while the other jumps back.
void drawClouds(double t, GLuint texture, int width, int height)
{
    const double k = cloudScale(width, height);
    glPushMatrix();
    glScalef(static_cast<float>(k), static_cast<float>(k), static_cast<float>(k));
    glRotatef(turnAngle(t, kCloudTurn), 0.0f, 0.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const double d = t * kCloudCycle;
    const CloudLayer first = cloudLayerAt(d - std::trunc(d));
    const CloudLayer second = cloudLayerAt((d + 0.5) - std::trunc(d + 0.5));
    drawTexturedQuad(0.5 - first.width / 2, 0.5 - first.height / 2, first.width, first.height,
                     first.alpha);
    // Centred on the texture's seam, which repeat wrapping joins.
    drawTexturedQuad(1.0 - second.width / 2, 0.5 - second.height / 2, second.width,
                     second.height, second.alpha);
    glPopMatrix();
}

// The logo, unrotated at the lower right, 4 x 0.25 units.
void drawLogo(GLuint texture)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    glTranslatef(5.0f, -5.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, kLogoAlpha);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-2.0f, -0.125f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(2.0f, -0.125f, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(2.0f, 0.125f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-2.0f, 0.125f, 0.0f);
    glEnd();
    glPopMatrix();
}

}  // namespace

float turnAngle(double seconds, double degreesPerSecond)
{
    // Reduced in double precision first: after months a float of the whole angle would step
    // by tens of degrees.
    return static_cast<float>(std::fmod(seconds * degreesPerSecond, kFullTurn));
}

CloudLayer cloudLayerAt(double p)
{
    // Fades in while its window shrinks from 0.5 x 2 to 0.25 x 1, then fades out shrinking on.
    if (p < 0.5) {
        const double l = std::pow(2.0, 1.0 - 2.0 * p);
        return {2.0 * p, 0.25 * l, l};
    }
    const double q = 2.0 * p - 1.0;
    const double l = std::pow(2.0, q);
    return {1.0 - q, 0.25 / l, 1.0 / l};
}

double cloudScale(int width, int height)
{
    double a = width > 0 && height > 0 ? static_cast<double>(width) / height : 1.0;
    if (a < 1.0)
        a = 1.0 / a;
    return a * kCloudReach;
}

void DriftScene::beginFrame(int mainPass)
{
    const double t = kaleidoscope->time;
    glDisable(GL_CULL_FACE);
    drawGradient(t);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    if (mainPass & 0xFF) {  // the feedback capture leaves clouds and logo out
        drawClouds(t, images[1].texture, kaleidoscope->viewportWidth, kaleidoscope->viewportHeight);
        drawLogo(images[2].texture);
    }
    glBindTexture(GL_TEXTURE_2D, images[0].texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPushMatrix();  // popped by endFrame: the discs of every wedge turn in this frame
    glRotatef(turnAngle(t, kDiscFrameTurn), 0.0f, 0.0f, 1.0f);
}

void DriftScene::endFrame()
{
    glPopMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
