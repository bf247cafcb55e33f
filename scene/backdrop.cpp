// The backdrop behind the wedges: a turning gradient, two cross-fading cloud layers zooming
// endlessly inwards, and a faint logo; then the GL state the discs are drawn with.
#include "scene/drift_scene.h"

#include "image/resource_image.h"
#include "platform/gl.h"
#include "render/kaleidoscope.h"
#include "render/view.h"
#include "scene/textured_quad.h"

#include <algorithm>
#include <cmath>

namespace {

const double kGradientTurn = 8.0;   // degrees per second
const double kCloudTurn = 1.5;      // degrees per second
const double kCloudCycle = 0.2;     // cycles per second: one zoom every five seconds
const double kCloudReach = 7.75;    // cloud quad half-size, per unit of window aspect
const double kDiscFrameTurn = -1.0; // degrees per second: discs turn backwards
const float kLogoAlpha = 0.3f;
const double kFullTurn = 360.0;
const float kGradientHalf = 32.0f;  // half-size of the gradient quad
const float kGradientDepth = -10.0f;
const double kLogoX = 5.0;  // the logo's centre wherever the whole of it fits
const double kLogoHalfWidth = 2.0;
const float kLogoHalfHeight = 0.125f;
const float kLogoY = -5.0f;  // the logo's centre up the view

// Width over height of the viewport; 1 for an empty one, which has no shape to keep.
double viewAspect(int width, int height)
{
    return width > 0 && height > 0 ? static_cast<double>(width) / height : 1.0;
}

// The aspect of the window or of the equivalent wide one: tall and wide windows of one ratio alike.
double wideAspect(int width, int height)
{
    const double a = viewAspect(width, height);
    return a < 1.0 ? 1.0 / a : a;
}

// One corner of a gradient cell: black on the upper grid lines, pale blue on the lower ones.
void gradientVertex(float x, float y, bool pale)
{
    if (pale)
        glColor3f(0.75f, 0.75f, 1.0f);
    else
        glColor3f(0.0f, 0.0f, 0.0f);
    glVertex3f(x, y, kGradientDepth);
}

// The gradient: black above, pale blue below, on a far plane turning about the view axis.
// The 64-unit quad alone leaves the corners of windows wider than about 1.8 : 1 black at some
// turns, so it is the middle cell of a 3 x 3 grid whose outer cells carry its end colours out
// to `reach`. Cells share whole edges, so the middle one draws exactly the pixels it drew alone.
void drawGradient(double t, float reach)
{
    const float xs[] = {-reach, -kGradientHalf, kGradientHalf, reach};
    const float ys[] = {reach, kGradientHalf, -kGradientHalf, -reach};
    glPushMatrix();
    glRotatef(turnAngle(t, kGradientTurn), 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const bool paleTop = row >= 2, paleBottom = row >= 1;
            gradientVertex(xs[column], ys[row], paleTop);
            gradientVertex(xs[column + 1], ys[row], paleTop);
            gradientVertex(xs[column + 1], ys[row + 1], paleBottom);
            gradientVertex(xs[column], ys[row + 1], paleBottom);
        }
    glEnd();
    glPopMatrix();
}

// How far out the gradient must reach: the view's corners at its depth lie within
// viewHalfHeight(kGradientDepth) x sqrt(1 + a * a) = 15.5 x sqrt(1 + a * a), less than 32 x a
// for the wide aspect a.
float gradientReach(int width, int height)
{
    return static_cast<float>(kGradientHalf * wideAspect(width, height));
}

// The logo's centre across the view: at x = 5 wherever the whole strip fits (aspect 7 / 5.5
// and wider); in narrower windows just far enough left that its right end meets the edge.
double logoCentreX(int width, int height)
{
    // The logo lies in the plane of the origin.
    return std::min(kLogoX, viewHalfHeight(0.0) * viewAspect(width, height) - kLogoHalfWidth);
}

// One cloud layer: a unit quad showing the texture window of width and height about that
// centre, in white at the layer's alpha.
void drawCloudLayer(const CloudLayer &layer, double sCentre)
{
    glColor4f(1.0f, 1.0f, 1.0f, static_cast<float>(layer.alpha));
    drawTexturedQuad(1.0f, 1.0f, {sCentre - layer.width / 2, 0.5 - layer.height / 2, layer.width,
                                  layer.height});
}

// The two cloud layers, half a cycle apart, so one is fully seen while the other jumps back.
void drawClouds(double t, const ImageRecord &image, int width, int height)
{
    const double k = cloudScale(width, height);
    glPushMatrix();
    glScalef(static_cast<float>(k), static_cast<float>(k), static_cast<float>(k));
    glRotatef(turnAngle(t, kCloudTurn), 0.0f, 0.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, image.texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    const double d = t * kCloudCycle;
    const CloudLayer first = cloudLayerAt(d - std::trunc(d));
    const CloudLayer second = cloudLayerAt((d + 0.5) - std::trunc(d + 0.5));
    // Where every texel covers more than a pixel the GL samples with its magnifying filter
    // alone, whatever the minifying one; saying so for the two screen-filling layers of a
    // mipmapped texture spares llvmpipe working out a mipmap level for every pixel (a sixth of a
    // full-screen frame), and changes no pixel. The texture is left as it was found.
    GLint minifying = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minifying);
    const bool magnified =
        minifying == kMinifyingFilter &&
        std::max(cloudTexelsPerPixel(first, image, width, height),
                 cloudTexelsPerPixel(second, image, width, height)) <= kSurelyMagnified;
    if (magnified)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMagnifyingFilter);
    drawCloudLayer(first, 0.5);
    drawCloudLayer(second, 1.0);  // centred on the texture's seam, which repeat wrapping joins
    if (magnified)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMinifyingFilter);
    glPopMatrix();
}

// The logo, unrotated at the lower right, 4 x 0.25 units, centred across at x.
void drawLogo(GLuint texture, double x)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glPushMatrix();
    glTranslatef(static_cast<float>(x), kLogoY, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, kLogoAlpha);
    drawTexturedQuad(static_cast<float>(kLogoHalfWidth), kLogoHalfHeight, {0.0, 0.0, 1.0, 1.0});
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

double cloudScale(int width, int height) { return wideAspect(width, height) * kCloudReach; }

double cloudTexelsPerPixel(const CloudLayer &layer, const ImageRecord &image, int width,
                           int height)
{
    // The quad is 2 units across before the scale, in the plane of the origin.
    const double texels = std::max(layer.width * image.width, layer.height * image.height);
    const double pixelsPerUnit = height / (2.0 * viewHalfHeight(0.0));
    return texels / (2.0 * cloudScale(width, height) * pixelsPerUnit);
}

void DriftScene::beginFrame(int mainPass)
{
    const double t = kaleidoscope->time;
    const int width = kaleidoscope->viewportWidth, height = kaleidoscope->viewportHeight;
    glDisable(GL_CULL_FACE);
    drawGradient(t, gradientReach(width, height));
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    if (mainPass & 0xFF) {  // the feedback capture leaves clouds and logo out
        drawClouds(t, images[1], width, height);
        drawLogo(images[2].texture, logoCentreX(width, height));
    }
    glBindTexture(GL_TEXTURE_2D, images[0].texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPushMatrix();  // popped by endFrame: the discs of every wedge turn in this frame
    glRotatef(turnAngle(t, kDiscFrameTurn), 0.0f, 0.0f, 1.0f);
    recordDiscs();
}

void DriftScene::endFrame()
{
    glPopMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}
