// The backdrop: cloud scale, what each pass draws, and the gradient on windows of any shape.
#include "support/backdrop_fixture.h"

#include "render/view.h"
#include "image/resource_image.h"
#include "scene/drift_scene.h"
#include "scene/textured_quad.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace {

const double kViewHalfHeight = viewHalfHeight(0.0);  // in the plane of the clouds and logo
const double kGradientHalfHeight = viewHalfHeight(-10.0);
const float kTenDegrees = 1.25f;  // seconds the gradient takes to turn ten degrees

TEST(CloudLayers, TallWindowsScaleLikeTheEquivalentWideOnes)
{
    EXPECT_DOUBLE_EQ(cloudScale(1280, 720), 7.75 * 1280 / 720);
    EXPECT_DOUBLE_EQ(cloudScale(720, 1280), cloudScale(1280, 720));
    EXPECT_DOUBLE_EQ(cloudScale(500, 500), 7.75);
    EXPECT_DOUBLE_EQ(cloudScale(640, 0), 7.75);  // no division by a zero size
}

// The sum of every channel of every pixel: how bright a frame is overall.
long brightness(const std::vector<unsigned char> &pixels)
{
    long sum = 0;
    for (unsigned char v : pixels)
        sum += v;
    return sum;
}

TEST_F(Backdrop, VisiblePassAddsCloudsAndLogoAndTheCapturePassOnlyTheGradient)
{
    Kaleidoscope &k = openStill(120, 120);
    k.time = 2.0f;  // one cloud layer at alpha 0.8, the other at 0.2
    const std::vector<unsigned char> visible = backdropOf(k, 1);
    const std::vector<unsigned char> capture = backdropOf(k, 0);
    EXPECT_EQ(backdropOf(k, 0x100), capture);  // only the low byte of mainPass counts
    EXPECT_GT(brightness(visible), brightness(capture) + 120 * 120 * 3 * 20);
}

TEST_F(Backdrop, MissingCloudAndLogoImagesDrawAsPlainWhiteTranslucentQuads)
{
    const int width = 480, height = 270;
    Kaleidoscope &k = openStill(width, height);
    k.time = 2.0f;  // cloud layer 1 at alpha 0.8 drawn first, layer 2 at alpha 0.2 over it
    DriftScene &scene = *currentDriftScene();
    scene.images[1].texture = scene.images[2].texture = 0;  // as left by failed loads
    const std::vector<unsigned char> gradient = backdropOf(k, 0);
    const std::vector<unsigned char> visible = backdropOf(k, 1);

    // The logo strip spans x 3...7 and y -5.125...-4.875; its edge pixels are left out.
    const double halfWidth = kViewHalfHeight * width / height;
    const double left = toPixel(3, halfWidth, width), right = toPixel(7, halfWidth, width);
    const double bottom = toPixel(-5.125, kViewHalfHeight, height);
    const double top = toPixel(-4.875, kViewHalfHeight, height);
    auto over = [](double below, double alpha) { return below * (1 - alpha) + 255 * alpha; };
    int wrong = 0, strip = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;  // the pixel's centre
            const bool nearEdge = std::abs(cx - left) < 1.5 || std::abs(cx - right) < 1.5 ||
                                  std::abs(cy - bottom) < 1.5 || std::abs(cy - top) < 1.5;
            const bool inStrip = cx > left && cx < right && cy > bottom && cy < top;
            if (nearEdge)
                continue;
            strip += inStrip;
            for (int c = 0; c < 3; ++c) {
                const size_t i = (size_t(y) * width + x) * 3 + c;
                double expected = over(over(gradient[i], 0.8), 0.2);
                if (inStrip)
                    expected = over(expected, 0.3);
                wrong += std::abs(visible[i] - expected) > 2;
            }
        }
    EXPECT_GT(strip, 100);
    EXPECT_EQ(wrong, 0);
}

TEST_F(Backdrop, TallWindowsScaleTheDrawnCloudsLikeTheEquivalentWideOnes)
{
    const int width = 360, height = 640;
    Kaleidoscope &k = openStill(width, height);
    k.time = 0.0f;  // unturned; only layer 2 shows, at alpha 1, over t 0...1 from top to bottom
    DriftScene &scene = *currentDriftScene();
    // Opaque only in the fourth of eight rows: t 0.375...0.5, from 0.25 of the layer's
    // half-size above the centre down to the centre.
    std::vector<unsigned char> rows(8, 0);
    rows[3] = 255;
    scene.images[1].texture = alphaTexture(1, 8, rows);
    scene.images[2].texture = emptyTexture();
    const std::vector<unsigned char> picture = backdropOf(k, 1);

    int band = 0;
    for (int y = 0; y < height; ++y) {
        const size_t i = (size_t(y) * width + width / 2) * 3;
        band += picture[i] >= 250 && picture[i + 1] >= 250 && picture[i + 2] >= 250;
    }
    const double halfSize = 7.75 * height / width;  // as a 640 x 360 window would have it
    EXPECT_NEAR(band, 0.25 * halfSize * height / (2 * kViewHalfHeight), 2.0);
}

// The gradient as the lone 64-unit quad, black above and pale blue below, turned to time t.
std::vector<unsigned char> loneQuadGradient(float t, int width, int height)
{
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPushMatrix();
    glRotatef(static_cast<float>(t * 8.0), 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glColor3f(0.0f, 0.0f, 0.0f);
    glVertex3f(-32.0f, 32.0f, -10.0f);
    glVertex3f(32.0f, 32.0f, -10.0f);
    glColor3f(0.75f, 0.75f, 1.0f);
    glVertex3f(32.0f, -32.0f, -10.0f);
    glVertex3f(-32.0f, -32.0f, -10.0f);
    glEnd();
    glPopMatrix();
    return readPixels(width, height);
}

// Through a full turn of the gradient, the gradient alone against the lone 64-unit quad.
void expectLoneQuadPixelsThroughATurn(Kaleidoscope &k)
{
    const int width = k.viewportWidth, height = k.viewportHeight;
    long differing = 0;
    for (int step = 0; step < 36; ++step) {
        k.time = step * kTenDegrees;
        const std::vector<unsigned char> drawn = backdropOf(k, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        placeCamera();
        differing += changedBox(drawn, loneQuadGradient(k.time, width, height), width, 1).count;
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(Backdrop, GradientOn16By9And4By3IsPixelIdenticalToTheLoneQuad)
{
    Kaleidoscope &k = openStill(480, 270);
    expectLoneQuadPixelsThroughATurn(k);
    k.resize(360, 270);
    expectLoneQuadPixelsThroughATurn(k);
}

// The gradient continued with its end colours, at the centre of pixel (x, y), turned by degrees.
std::array<double, 3> continuedGradient(int x, int y, int width, int height, double degrees)
{
    const double across = ((x + 0.5) / width * 2 - 1) * kGradientHalfHeight * width / height;
    const double up = ((y + 0.5) / height * 2 - 1) * kGradientHalfHeight;
    const double turn = degrees * M_PI / 180;
    const double upInGradient = -std::sin(turn) * across + std::cos(turn) * up;
    const double pale = std::clamp((32 - upInGradient) / 64, 0.0, 1.0);
    return {0.75 * 255 * pale, 0.75 * 255 * pale, 255 * pale};
}

// Through a full turn, the gradient alone against the gradient continued with its end colours.
void expectContinuedGradientThroughATurn(Kaleidoscope &k)
{
    const int width = k.viewportWidth, height = k.viewportHeight;
    long wrong = 0;
    double worst = 0;
    for (int step = 0; step < 36; ++step) {
        k.time = step * kTenDegrees;
        const std::vector<unsigned char> drawn = backdropOf(k, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const std::array<double, 3> expected =
                    continuedGradient(x, y, width, height, step * 10.0);
                for (int c = 0; c < 3; ++c) {
                    const size_t i = (size_t(y) * width + x) * 3 + c;
                    const double off = std::abs(drawn[i] - expected[c]);
                    worst = std::max(worst, off);
                    wrong += off > 1;  // rounding to 8 bits leaves at most a half
                }
            }
    }
    EXPECT_EQ(wrong, 0) << "worst channel off by " << worst;
}

TEST_F(Backdrop, GradientOn21By9And32By9ContinuesWithItsEndColours)
{
    Kaleidoscope &k = openStill(640, 270);
    k.resize(630, 270);
    expectContinuedGradientThroughATurn(k);
    k.resize(640, 180);
    expectContinuedGradientThroughATurn(k);
}

// A clouds-sized alpha texture whose full-size level is opaque and every smaller one transparent:
// drawn with mipmaps, a pixel is fully lit only where the GL samples the full size alone.
GLuint fullSizeOnlyTexture(int width, int height)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int level = 0, w = width, h = height;; ++level) {
        const std::vector<unsigned char> alpha(size_t(w) * h, level == 0 ? 255 : 0);
        glTexImage2D(GL_TEXTURE_2D, level, GL_ALPHA, w, h, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                     alpha.data());
        if (w == 1 && h == 1)
            break;
        w = std::max(1, w / 2);
        h = std::max(1, h / 2);
    }
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, kMinifyingFilter);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}

TEST_F(Backdrop, CloudLayersTakenAsMagnifiedAreSampledFromTheirFullSizeAloneWithMipmaps)
{
    Kaleidoscope &k = openStill(640, 480);
    const ImageRecord clouds = {nullptr, 8, 1024, 256, fullSizeOnlyTexture(1024, 256)};
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    int taken = 0, minified = 0;
    const int sizes[][2] = {{640, 480}, {480, 360}, {320, 240}, {200, 150}, {150, 200}};
    for (const auto &size : sizes)
        for (double p : {0.0, 0.25, 0.5, 0.75}) {  // each layer window of the zoom cycle
            const int w = size[0], h = size[1];
            const CloudLayer layer = cloudLayerAt(p);
            const double scale = cloudScale(w, h);
            k.resize(w, h);
            glClear(GL_COLOR_BUFFER_BIT);
            placeCamera();
            glScalef(static_cast<float>(scale), static_cast<float>(scale), 1.0f);
            glRotatef(30.0f, 0.0f, 0.0f, 1.0f);  // turned, as the layers are
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            drawTexturedQuad(1.0f, 1.0f, {0.5 - layer.width / 2, 0.5 - layer.height / 2,
                                          layer.width, layer.height});
            const std::vector<unsigned char> pixels = readPixels(w, h);
            const int darkest = *std::min_element(pixels.begin(), pixels.end());
            minified += darkest < 255;
            if (cloudTexelsPerPixel(layer, clouds, w, h) <= kSurelyMagnified) {
                ++taken;
                EXPECT_EQ(darkest, 255) << w << "x" << h << ", phase " << p;
            }
        }
    EXPECT_GT(taken, 4);  // the sizes straddle the boundary
    EXPECT_GT(minified, 2);
    glDeleteTextures(1, &clouds.texture);
}

}  // namespace

