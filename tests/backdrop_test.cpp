// The backdrop: cloud layer timing and scale, and what each pass draws on windows of any shape.
#include "support/gl_window_test.h"

#include "scene/drift_scene.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

const double kViewHalfHeight = 5.5;     // units seen above the centre in the plane z = 0
const double kGradientDistance = 15.5;  // from the camera to the gradient's plane
const double kLogoWidth = 4.0;          // units
const int kSeenChange = 8;              // a channel change no noise in the logo mask reaches
const float kTenDegrees = 1.25f;        // seconds the gradient takes to turn ten degrees

// Where a point `units` from the view's centre lands across `pixels`, `half` units each side.
double toPixel(double units, double half, int pixels) { return (units / half + 1) / 2 * pixels; }

TEST(CloudLayers, FadeInAndOutWhileZoomingSoTheWrapIsInvisible)
{
    const CloudLayer start = cloudLayerAt(0.0);
    EXPECT_DOUBLE_EQ(start.alpha, 0.0);
    EXPECT_DOUBLE_EQ(start.width, 0.5);
    EXPECT_DOUBLE_EQ(start.height, 2.0);
    const CloudLayer middle = cloudLayerAt(0.5), justBefore = cloudLayerAt(0.5 - 1e-9);
    EXPECT_DOUBLE_EQ(middle.alpha, 1.0);
    EXPECT_DOUBLE_EQ(middle.width, 0.25);
    EXPECT_DOUBLE_EQ(middle.height, 1.0);
    EXPECT_NEAR(justBefore.alpha, 1.0, 1e-8);
    EXPECT_NEAR(justBefore.width, 0.25, 1e-8);
    const CloudLayer end = cloudLayerAt(0.9999);
    EXPECT_NEAR(end.alpha, 0.0, 1e-3);
    EXPECT_NEAR(end.width, 0.125, 1e-4);
    EXPECT_NEAR(end.height, 0.5, 1e-4);
}

TEST(CloudLayers, TallWindowsScaleLikeTheEquivalentWideOnes)
{
    EXPECT_DOUBLE_EQ(cloudScale(1280, 720), 7.75 * 1280 / 720);
    EXPECT_DOUBLE_EQ(cloudScale(720, 1280), cloudScale(1280, 720));
    EXPECT_DOUBLE_EQ(cloudScale(500, 500), 7.75);
    EXPECT_DOUBLE_EQ(cloudScale(640, 0), 7.75);  // no division by a zero size
}

class Backdrop : public GLWindowTest {
protected:
    // A renderer for a window of that size on a still clock, so every frame draws the same picture.
    Kaleidoscope &openStill(int width, int height)
    {
        openWindow(width, height);
        seam::setCounter(1000, 2000);
        appWindow.renderer = new Kaleidoscope(width, height);
        return *appWindow.renderer;
    }
    // The picture one wedge loop's backdrop draws for a pass.
    std::vector<unsigned char> backdropOf(Kaleidoscope &k, int mainPass)
    {
        placeCamera();
        k.scene->beginFrame(mainPass);
        k.scene->endFrame();
        return readPixels(k.viewportWidth, k.viewportHeight);
    }
    // A cleared frame seen from where the renderer puts the camera.
    static void placeCamera()
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(0, 0, 5.5, 0, 0, 0, 0, 1, 0);
    }
    // Through a full turn of the gradient, the gradient alone against the lone 64-unit quad.
    void expectLoneQuadPixelsThroughATurn(int width, int height);
    // Through a full turn, the gradient alone against the gradient continued with its end colours.
    void expectContinuedGradientThroughATurn(int width, int height);
    // The logo's letters all show at the lower right of a window of that shape.
    void expectWholeLogoAtLowerRight(int width, int height);
    // The logo draws the same pixels as one drawn at (5, -5) over the same backdrop.
    void expectLogoAtItsFirstPlace(int width, int height);
};

// The sum of every channel of every pixel: how bright a frame is overall.
long brightness(const std::vector<unsigned char> &pixels)
{
    long sum = 0;
    for (unsigned char v : pixels)
        sum += v;
    return sum;
}

// An alpha texture from rows of texels, the first row at t = 0, sampled without filtering.
GLuint alphaTexture(int width, int height, const std::vector<unsigned char> &alpha)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, width, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 alpha.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    return name;
}

// A texture that shows nothing: the layer drawn with it leaves the picture as it was.
GLuint emptyTexture() { return alphaTexture(1, 1, {0}); }

// The bounding box and number of the pixels where two frames differ by `least` or more in a
// channel.
struct ChangedBox {
    int left = INT_MAX, right = -1, bottom = INT_MAX, top = -1;
    long count = 0;
};
ChangedBox changedBox(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b,
                      int width, int least = kSeenChange)
{
    ChangedBox box;
    for (size_t pixel = 0; pixel < a.size() / 3; ++pixel) {
        bool changed = false;
        for (size_t c = 0; c < 3; ++c)
            changed = changed || std::abs(a[pixel * 3 + c] - b[pixel * 3 + c]) >= least;
        if (!changed)
            continue;
        const int x = static_cast<int>(pixel % width), y = static_cast<int>(pixel / width);
        ++box.count;
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.bottom = std::min(box.bottom, y);
        box.top = std::max(box.top, y);
    }
    return box;
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

void Backdrop::expectLoneQuadPixelsThroughATurn(int width, int height)
{
    Kaleidoscope &k = openStill(width, height);
    long differing = 0;
    for (int step = 0; step < 36; ++step) {
        k.time = step * kTenDegrees;
        const std::vector<unsigned char> drawn = backdropOf(k, 0);
        placeCamera();
        differing += changedBox(drawn, loneQuadGradient(k.time, width, height), width, 1).count;
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(Backdrop, GradientOn16By9IsPixelIdenticalToTheLoneQuad)
{
    expectLoneQuadPixelsThroughATurn(480, 270);
}

TEST_F(Backdrop, GradientOn4By3IsPixelIdenticalToTheLoneQuad)
{
    expectLoneQuadPixelsThroughATurn(360, 270);
}

// The gradient continued with its end colours, at the centre of pixel (x, y), turned by degrees.
std::array<double, 3> continuedGradient(int x, int y, int width, int height, double degrees)
{
    const double across = ((x + 0.5) / width * 2 - 1) * kGradientDistance * width / height;
    const double up = ((y + 0.5) / height * 2 - 1) * kGradientDistance;
    const double turn = degrees * M_PI / 180;
    const double upInGradient = -std::sin(turn) * across + std::cos(turn) * up;
    const double pale = std::clamp((32 - upInGradient) / 64, 0.0, 1.0);
    return {0.75 * 255 * pale, 0.75 * 255 * pale, 255 * pale};
}

void Backdrop::expectContinuedGradientThroughATurn(int width, int height)
{
    Kaleidoscope &k = openStill(width, height);
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

TEST_F(Backdrop, GradientOn21By9ContinuesWithItsEndColours)
{
    expectContinuedGradientThroughATurn(630, 270);
}

TEST_F(Backdrop, GradientOn32By9ContinuesWithItsEndColours)
{
    expectContinuedGradientThroughATurn(640, 180);
}

// The first and last texel columns of the logo mask that hold letters, and its width in texels.
std::array<int, 3> letterColumns(GLuint texture)
{
    const int kLetterAlpha = 64;  // well above the mask's noise, well below its strokes
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> alpha(size_t(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
    int first = width, last = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (alpha[size_t(y) * width + x] >= kLetterAlpha) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last, width};
}

void Backdrop::expectWholeLogoAtLowerRight(int width, int height)
{
    Kaleidoscope &k = openStill(width, height);
    DriftScene &scene = *currentDriftScene();
    const GLuint logo = scene.images[2].texture;
    ASSERT_NE(logo, 0u);
    scene.images[1].texture = emptyTexture();  // no clouds to hide letters in
    const std::vector<unsigned char> withLogo = backdropOf(k, 1);
    scene.images[2].texture = emptyTexture();
    const ChangedBox letters = changedBox(withLogo, backdropOf(k, 1), width);
    const auto [first, last, texels] = letterColumns(logo);
    ASSERT_LT(first, last);

    // Whole, and moved left just enough: the strip's right end meets the window's right edge.
    const double pixelsPerUnit = height / (2 * kViewHalfHeight);
    const double pixelsPerTexel = kLogoWidth / texels * pixelsPerUnit;
    const double stripLeft = width - kLogoWidth * pixelsPerUnit;
    EXPECT_NEAR(letters.left, stripLeft + first * pixelsPerTexel, 3.0);
    EXPECT_NEAR(letters.right + 1, stripLeft + (last + 1) * pixelsPerTexel, 3.0);
    const double middle = (letters.bottom + letters.top + 1) / 2.0;
    EXPECT_NEAR(middle, toPixel(-5, kViewHalfHeight, height), 2.0);
}

TEST_F(Backdrop, WholeLogoShowsInSquareWindows)
{
    expectWholeLogoAtLowerRight(480, 480);
}

TEST_F(Backdrop, WholeLogoShowsInPortraitWindows)
{
    expectWholeLogoAtLowerRight(360, 640);
}

// The logo at (5, -5), 4 x 0.25 units, white at alpha 0.3 times its mask, over the picture.
void drawLogoAtFirstPlace(GLuint texture)
{
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPushMatrix();
    glTranslatef(5.0f, -5.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 0.3f);
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
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void Backdrop::expectLogoAtItsFirstPlace(int width, int height)
{
    Kaleidoscope &k = openStill(width, height);
    k.time = 2.0f;
    DriftScene &scene = *currentDriftScene();
    const GLuint logo = scene.images[2].texture;
    const std::vector<unsigned char> drawn = backdropOf(k, 1);
    scene.images[2].texture = emptyTexture();
    backdropOf(k, 1);
    drawLogoAtFirstPlace(logo);
    const std::vector<unsigned char> firstPlace = readPixels(width, height);
    EXPECT_GT(changedBox(drawn, backdropOf(k, 1), width, 1).count, 200);  // the logo does show
    EXPECT_EQ(changedBox(drawn, firstPlace, width, 1).count, 0);
}

TEST_F(Backdrop, LogoOn16By9IsWhereItAlwaysWas)
{
    expectLogoAtItsFirstPlace(960, 540);
}

TEST_F(Backdrop, LogoOn4By3IsWhereItAlwaysWas)
{
    expectLogoAtItsFirstPlace(720, 540);
}

TEST_F(Backdrop, LogoTextureIsUprightAndReadsLeftToRight)
{
    const int width = 960, height = 540;
    Kaleidoscope &k = openStill(width, height);
    DriftScene &scene = *currentDriftScene();
    scene.images[1].texture = emptyTexture();
    // Only the first texel of the first row is opaque: the image's top left corner.
    scene.images[2].texture = alphaTexture(2, 2, {255, 0, 0, 0});
    const std::vector<unsigned char> marked = backdropOf(k, 1);
    scene.images[2].texture = emptyTexture();
    const std::vector<unsigned char> empty = backdropOf(k, 1);

    // It lights the top left quarter of the strip: x 3...5, y -5...-4.875.
    const double halfWidth = kViewHalfHeight * width / height;
    const ChangedBox lit = changedBox(marked, empty, width);
    EXPECT_NEAR(lit.left, toPixel(3, halfWidth, width), 1.0);
    EXPECT_NEAR(lit.right + 1, toPixel(5, halfWidth, width), 1.0);
    EXPECT_NEAR(lit.bottom, toPixel(-5, kViewHalfHeight, height), 1.0);
    EXPECT_NEAR(lit.top + 1, toPixel(-4.875, kViewHalfHeight, height), 1.0);
}

}  // namespace
